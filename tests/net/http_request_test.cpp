// HttpRequest against the scripted server: the request as it travels, and every in/out
// argument as the routine leaves it.
#include "net/http_request.h"

#include <gtest/gtest.h>

#include "tests/net/test_server.h"

// Each case names only the options it uses; the others keep their defaults on purpose.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kesto::net {
namespace {

using testing::OkResponse;
using testing::TestServer;

Text AsText(const Bytes& bytes) {
  return Text(bytes.begin(), bytes.end());
}

class HttpRequestTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new TestServer; }
  static void TearDownTestSuite() { delete server; }
  void SetUp() override { server->Clear(); }

  static Text HeadOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
  }
  static Text BodyOf(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
  }
  static Text Host() { return "127.0.0.1:" + std::to_string(server->Port()); }

  static TestServer* server;
};

TestServer* HttpRequestTest::server = nullptr;

TEST_F(HttpRequestTest, AllDefaultsSendsAPlainGetWithTheDefaultLines) {
  server->Route("/app/up/1.txt", OkResponse("[up]1|2|3[/up]"));
  const Text url = server->Url("/app/up/1.txt");
  EXPECT_EQ(AsText(HttpRequest(url)), "[up]1|2|3[/up]");
  EXPECT_EQ(server->LastRequest(),
            "GET /app/up/1.txt HTTP/1.1\r\n"
            "Host: " +
                Host() +
                "\r\n"
                "User-Agent: " +
                Text(kDefaultUserAgent) +
                "\r\n"
                "Referer: " +
                url +
                "\r\n"
                "Accept: */*\r\n"
                "Accept-Language: zh-cn\r\n"
                "Content-Type: application/x-www-form-urlencoded\r\n\r\n");
}

TEST_F(HttpRequestTest, HeaderTextGainsTheMissingDefaultsByExactCase) {
  server->Route("/h", OkResponse("ok"));
  const Text url = server->Url("/h");
  const Text tail = "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  struct {
    Text given, sent;
  } cases[] = {
      {"", "Referer: " + url + "\r\nAccept: */*" + tail},
      {"accept: text/html", "accept: text/html\r\nReferer: " + url + "\r\nAccept: */*" + tail},
      {"Accept-Language: en", "Accept-Language: en\r\nReferer: " + url +
                                  "\r\nAccept: */*\r\nContent-Type: "
                                  "application/x-www-form-urlencoded"},
      {"Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: t",
       "Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: t"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    Text headers = c.given;
    HttpRequest(url, {.headers = &headers});
    EXPECT_EQ(headers, c.sent);
    EXPECT_NE(server->LastRequest().find("\r\n" + c.sent + "\r\n\r\n"), std::string::npos);
  }
}

TEST_F(HttpRequestTest, AgentComesFromTheCallersLinesOrTheDefault) {
  EXPECT_EQ(RequestAgent(""), kDefaultUserAgent);
  EXPECT_EQ(RequestAgent("Accept: x"), kDefaultUserAgent);
  EXPECT_EQ(RequestAgent("User-Agent:  Mine/1.0 \r\nAccept: x"), "Mine/1.0");
  // Lower case is found, but only the exact-case marker is cut out; the fallback takes the
  // text after the first colon of the whole header text.
  EXPECT_EQ(RequestAgent("user-agent: X\r\nReferer: Y"), "X\r\nReferer: Y");
  // The last line has no CR LF after it.
  EXPECT_EQ(RequestAgent("Referer: r\r\nUser-Agent: Z"), "r\r\nUser-Agent: Z");

  // On the wire the caller's own line is the only agent line.
  server->Route("/a", OkResponse(""));
  Text headers = "user-agent: X\r\nReferer: Y";
  HttpRequest(server->Url("/a"), {.headers = &headers});
  Text head = HeadOf(server->LastRequest());
  EXPECT_NE(head.find("\r\nuser-agent: X\r\nReferer: Y\r\n"), std::string::npos);
  EXPECT_EQ(head.find("User-Agent"), std::string::npos);
}

TEST_F(HttpRequestTest, MethodsDecideVerbAndBody) {
  server->Route("/m", OkResponse("done"));
  const Text url = server->Url("/m");

  Bytes untouched = {'k', 'e', 'e', 'p'};
  HttpRequest(url, {.method = 0, .postText = "ignored", .postBytes = &untouched});
  EXPECT_EQ(untouched, (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(server->LastRequest().rfind("GET /m HTTP/1.1\r\n", 0), 0u);
  EXPECT_EQ(BodyOf(server->LastRequest()), "");
  EXPECT_EQ(server->LastRequest().find("Content-Length"), std::string::npos);

  Bytes filled;
  HttpRequest(url, {.method = 1, .postText = "a=1&b=2", .postBytes = &filled});
  EXPECT_EQ(AsText(filled), "a=1&b=2");
  EXPECT_EQ(server->LastRequest().rfind("POST /m HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(server->LastRequest().find("\r\nContent-Length: 7\r\n"), std::string::npos);
  EXPECT_EQ(BodyOf(server->LastRequest()), "a=1&b=2");

  Bytes given = {'x', 0, 'y'};
  HttpRequest(url, {.method = 2, .postText = "not this", .postBytes = &given});
  EXPECT_EQ(server->LastRequest().rfind("GET /m HTTP/1.1\r\n", 0), 0u);
  EXPECT_EQ(BodyOf(server->LastRequest()), Text("x\0y", 3));

  HttpRequest(url, {.method = 1});
  EXPECT_NE(server->LastRequest().find("\r\nContent-Length: 0\r\n"), std::string::npos);
}

TEST_F(HttpRequestTest, SuppliedCookiesBypassTheStoreAndAreMerged) {
  server->Route("/store", OkResponse("", "Set-Cookie: kept=1; path=/\r\n"));
  server->Route("/c", OkResponse("", "Set-Cookie: b=3; path=/\r\nSet-Cookie: n=9\r\n"));
  const Text url = server->Url("/c");
  HttpRequest(server->Url("/store"));  // fills the process's cookie store

  HttpRequest(url);
  EXPECT_NE(server->LastRequest().find("\r\nCookie: kept=1\r\n"), std::string::npos);

  Text empty;
  Text responseCookies = "old";
  HttpRequest(url, {.cookies = &empty, .responseCookies = &responseCookies});
  EXPECT_EQ(server->LastRequest().find("Cookie"), std::string::npos);
  // The line without ";" adds an empty item, which the merge drops as a trailing one.
  EXPECT_EQ(empty, "b=3");
  EXPECT_EQ(responseCookies, "b=3;");

  Text cookies = "a=1; b=2";
  HttpRequest(url, {.cookies = &cookies});
  EXPECT_NE(server->LastRequest().find("\r\nCookie: a=1; b=2\r\n"), std::string::npos);
  EXPECT_EQ(server->LastRequest().find("kept=1"), std::string::npos);
  EXPECT_EQ(cookies, "b=3; a=1");
}

TEST_F(HttpRequestTest, ResponseCookiesKeepTheirOrderAndEmptyItems) {
  server->Route("/s", OkResponse("",
                                 "Set-Cookie: a=1; path=/\r\nSet-Cookie: c=3\r\n"
                                 "Set-Cookie: b=2; path=/\r\n"));
  Text responseCookies, responseHeaders;
  HttpRequest(server->Url("/s"),
              {.responseCookies = &responseCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(responseCookies, "a=1; ; b=2");
  EXPECT_EQ(responseHeaders.rfind("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n", 0), 0u);
  EXPECT_EQ(responseHeaders.substr(responseHeaders.size() - 4), "\r\n\r\n");
}

TEST_F(HttpRequestTest, RedirectsAreReportedOnlyWhenNotFollowed) {
  server->Route("/r", "HTTP/1.1 302 Found\r\nLocation: /final\r\nContent-Length: 5\r\n\r\nmoved");
  server->Route("/final", OkResponse("arrived"));
  const Text url = server->Url("/r");

  Text location, headers;
  EXPECT_EQ(AsText(HttpRequest(url, {.redirectLocation = &location, .responseHeaders = &headers})),
            "arrived");
  EXPECT_EQ(location, headers);  // no Location line: the header block stands in

  Text kept = "given";
  HttpRequest(url, {.redirectLocation = &kept});
  EXPECT_EQ(kept, "given");

  Text target;
  EXPECT_EQ(AsText(HttpRequest(url, {.redirectLocation = &target, .noRedirect = true})), "moved");
  EXPECT_EQ(target, "/final");
}

TEST_F(HttpRequestTest, HeaderBlockOverTheBufferBecomesSpaces) {
  server->Route("/big", OkResponse("body", "X-Pad: " + std::string(6000, 'p') +
                                               "\r\nSet-Cookie: a=1; p\r\nLocation: /x\r\n"));
  Text responseHeaders, responseCookies = "old", location;
  EXPECT_EQ(AsText(HttpRequest(server->Url("/big"), {.responseCookies = &responseCookies,
                                                     .redirectLocation = &location,
                                                     .responseHeaders = &responseHeaders})),
            "body");
  EXPECT_EQ(responseHeaders, Text(5000, ' '));
  EXPECT_EQ(responseCookies, "");
  EXPECT_EQ(location, Text(5000, ' '));
}

TEST_F(HttpRequestTest, ServerActsAsTheProxy) {
  server->Route("/p", OkResponse("proxied"));
  // No such host exists: only the proxy can answer, and it is never looked up.
  Text headers;
  EXPECT_EQ(
      AsText(HttpRequest("http://far-away.test:81/p", {.headers = &headers, .proxy = Host()})),
      "proxied");
  EXPECT_EQ(server->LastRequest().rfind("GET http://far-away.test:81/p HTTP/1.1\r\n", 0), 0u);
  EXPECT_NE(server->LastRequest().find("\r\nHost: far-away.test:81\r\n"), std::string::npos);
}

TEST_F(HttpRequestTest, SecureSchemeIsRecognisedInAnyCase) {
  // The server speaks no TLS: the greeting it records shows the request went out secured.
  Text headers;
  EXPECT_TRUE(HttpRequest("HTTPS://" + Host() + "/s", {.headers = &headers}).empty());
  std::vector<std::string> requests = server->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0][0], '\x16');
}

TEST_F(HttpRequestTest, FailuresLeaveTheArgumentsOrTheBodyEmpty) {
  // Nothing can be opened: every variable stays as it was.
  Text headers = "h: 1", cookies = "c=1", responseCookies = "rc", location = "loc", raw = "raw";
  Bytes postBytes;
  for (const Text url : {"http:///nohost", "http://bad host/", "http://h:70000/"}) {
    SCOPED_TRACE(url);
    EXPECT_TRUE(HttpRequest(url, {.method = 1,
                                  .postText = "p",
                                  .cookies = &cookies,
                                  .responseCookies = &responseCookies,
                                  .headers = &headers,
                                  .redirectLocation = &location,
                                  .postBytes = &postBytes,
                                  .responseHeaders = &raw})
                    .empty());
    EXPECT_EQ(headers, "h: 1");
    EXPECT_EQ(cookies, "c=1");
    EXPECT_EQ(responseCookies, "rc");
    EXPECT_EQ(location, "loc");
    EXPECT_TRUE(postBytes.empty());
    EXPECT_EQ(raw, "raw");
  }

  // A body cut short is no body at all.
  server->Route("/cut", "HTTP/1.1 200 OK\r\nContent-Length: 9000\r\n\r\n" + std::string(3000, 'c'));
  EXPECT_TRUE(HttpRequest(server->Url("/cut")).empty());

  // A long address reaches the server whole.
  server->Route("/long", OkResponse("long"));
  Text url = server->Url("/long?") + Text(100 * 1024, 'q');
  EXPECT_EQ(AsText(HttpRequest(url)), "long");
  EXPECT_NE(server->LastRequest().find(Text(100 * 1024, 'q') + " HTTP/1.1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kesto::net
