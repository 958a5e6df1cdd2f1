// Table tests of the address and cookie helpers.
#include "net/url_helpers.h"

#include <gtest/gtest.h>

namespace kesto::net {
namespace {

struct UrlCase {
  Text url;
  Text host;
  Text hostWithPort;
  int port;
  Text path;
};

TEST(UrlHelpers, SplitAddressesIntoHostPortAndPath) {
  const UrlCase cases[] = {
      {"HTTP://MyHost:8080/App", "myhost", "myhost:8080", 8080, "/App"},
      {"myhost", "myhost", "myhost", 80, "/"},
      {"https://myhost/x", "myhost", "myhost", 443, "/x"},
      {"HTTPS://Secure.Host:8443", "secure.host", "secure.host:8443", 8443, "/"},
      {"http://myhost:abc/", "myhost", "myhost:abc", 0, "/"},
      {"http://myhost/a/b?c=1#d", "myhost", "myhost", 80, "/a/b?c=1#d"},
      {"http://myhost:8080?q=1", "myhost", "myhost:8080?q=1", 8080, "/"},
      // The host comes after a later "http://" when the address has no scheme of its own.
      {"myhost/?u=http://other/x", "other", "other", 80, "/x"},
      {"a.com/?x=http://a.com/y", "a.com", "a.com", 80, "/?x=http://a.com/y"},
      // Hosts that are pieces of the scheme are found after it, not inside it.
      {"http://t/x", "t", "t", 80, "/x"},
      {"http://http/Path", "http", "http", 80, "/Path"},
      {"https://s:1/p", "s", "s:1", 1, "/p"},
      // Only the first five letters decide 443.
      {"httpsite.com/a", "httpsite.com", "httpsite.com", 443, "/a"},
      {"http://h:+12/", "h", "h:+12", 12, "/"},
      {"http://h:1:2/", "h", "h:1:2", 2, "/"},
      {"", "", "", 80, "/"},
      {"http:///nohost", "", "", 80, "/nohost"},
      {"http://\xC4\xE3\xBA\xC3.cn/\xCE\xC4", "\xC4\xE3\xBA\xC3.cn", "\xC4\xE3\xBA\xC3.cn", 80,
       "/\xCE\xC4"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url), c.host);
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

TEST(UrlHelpers, OverlongAddressesStayWhole) {
  Text path = "/" + Text(100 * 1024, 'p');
  Text url = "http://h:81" + path;
  EXPECT_EQ(UrlHost(url), "h");
  EXPECT_EQ(UrlPort(url), 81);
  EXPECT_EQ(UrlPath(url), path);
}

TEST(UrlHelpers, TextBetweenAndValueAfterColon) {
  struct {
    Text text, start, end, between;
  } cases[] = {
      {"k: v", "k:", "\r\n", ""},
      {"Set-Cookie: a=1; path=/", "Set-Cookie:", ";", " a=1"},
      {"xAyBzAwB", "A", "B", "y"},
      {"no start", "[", "]", ""},
      {"[]", "[", "]", ""},
      // A marker is never found on the second byte of a two-byte character.
      {"\xB0\x5B"
       "a[b]",
       "[", "]", "b"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.between) << c.text;

  EXPECT_EQ(ValueAfterColon("Location:  http://x:80/y \xA1\xA1"), "http://x:80/y");
  EXPECT_EQ(ValueAfterColon("\tno colon"), "");
  EXPECT_EQ(ValueAfterColon("a:\tb\r\n"), "\tb\r\n");  // tabs and line ends are not trimmed
}

TEST(UrlHelpers, CookieNames) {
  EXPECT_EQ(CookieName(" sid = 42"), "sid");
  EXPECT_EQ(CookieName("flag"), "flag");
  EXPECT_EQ(CookieName("=v"), "");
  EXPECT_EQ(CookieName(""), "");
}

TEST(UrlHelpers, MergeCookiesPutsTheResponseFirstAndDropsDeletedOnes) {
  struct {
    Text cookies, response, merged, responseAfter;
  } cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
      {"a=1; a=2", "", "a=1", ""},
      {"a=1;;b=2", "", "a=1; ; b=2", ""},
      {"a = 1 ;",
       "\xA1\xA1"
       "c=3",
       "c=3; a=1", "c=3"},
      {"", "", "", ""},
      {"k=deleted", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cookies + " | " + c.response);
    Text cookies = c.cookies, response = c.response;
    EXPECT_EQ(MergeCookies(cookies, response), c.merged);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(response, c.responseAfter);
  }
}

TEST(UrlHelpers, RemoveDuplicateItemsKeepsFirstOccurrences) {
  EXPECT_EQ(RemoveDuplicateItems("b; a; b; c; a", "; "), "b; a; c");
  EXPECT_EQ(RemoveDuplicateItems("x|x|", "|"), "x");
  EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
}

}  // namespace
}  // namespace kesto::net
