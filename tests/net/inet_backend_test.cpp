// The libcurl internet layer against the scripted server: header blocks and numbers, the
// redirect rule, proxy lists, broken servers and bodies larger than memory wants.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "runtime/inet.h"
#include "tests/net/test_server.h"

namespace kesto::inet {
namespace {

using testing::OkResponse;
using testing::TestServer;

class InetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new TestServer; }
  static void TearDownTestSuite() { delete server; }
  void SetUp() override { server->Clear(); }
  void TearDown() override {
    for (Handle handle : opened) InternetCloseHandle(handle);
  }

  Handle Session(int accessType = kOpenTypeDirect, std::optional<Text> proxy = {},
                 std::optional<Text> bypass = {}) {
    Handle session = InternetOpen("TestAgent", accessType, proxy, bypass, 0);
    if (session) opened.push_back(session);
    return session;
  }
  // A GET of the server's path, sent; 0 when a handle could not be opened.
  Handle Get(Handle session, const Text& path, std::uint32_t flags = 0, const Text& headers = "",
             int port = 0, bool* sent = nullptr) {
    Handle connection = InternetConnect(session, "127.0.0.1", port ? port : server->Port(), "", "",
                                        kServiceHttp, 0);
    Handle request = HttpOpenRequest(connection, "GET", path, "HTTP/1.1", "", flags);
    if (!request) return 0;
    bool ok = HttpSendRequest(request, headers, {});
    if (sent) *sent = ok;
    return request;
  }
  static std::string ReadAll(Handle request, bool* ok = nullptr) {
    std::string body;
    char buffer[1024];
    std::uint32_t read = 0;
    bool good;
    while ((good = InternetReadFile(request, buffer, sizeof buffer, read)) && read > 0) {
      body.append(buffer, read);
    }
    if (ok) *ok = good;
    return body;
  }
  static std::string RawHeaders(Handle request) {
    char buffer[8192];
    std::uint32_t length = sizeof buffer;
    if (!HttpQueryInfo(request, kQueryRawHeadersCrlf, buffer, length, nullptr)) return "?";
    return std::string(buffer, length);
  }

  static TestServer* server;
  std::vector<Handle> opened;
};

TestServer* InetTest::server = nullptr;

TEST_F(InetTest, HeaderBlockIsQueriedWholeOrNotAtAll) {
  server->Route("/h", "HTTP/1.1 200 OK\r\nX-One: 1\nContent-Length: 2\r\n\r\nhi");
  Handle request = Get(Session(), "/h");
  ASSERT_NE(request, 0);
  const std::string block = "HTTP/1.1 200 OK\r\nX-One: 1\r\nContent-Length: 2\r\n\r\n";
  EXPECT_EQ(RawHeaders(request), block);

  // No room for the terminating zero: the query fails and names the size it needs.
  std::string buffer(block.size(), ' ');
  std::uint32_t length = block.size();
  EXPECT_FALSE(HttpQueryInfo(request, kQueryRawHeadersCrlf, buffer.data(), length, nullptr));
  EXPECT_EQ(length, block.size() + 1);
  EXPECT_EQ(buffer, std::string(block.size(), ' '));

  std::uint32_t number = 0;
  length = sizeof number;
  EXPECT_TRUE(
      HttpQueryInfo(request, kQueryContentLength | kQueryFlagNumber, &number, length, nullptr));
  EXPECT_EQ(number, 2u);
  EXPECT_EQ(ReadAll(request), "hi");
}

TEST_F(InetTest, ContentLengthNumberFailsWhenMissingOrTooLarge) {
  server->Route("/none", "HTTP/1.1 200 OK\r\n\r\nbody until close");
  server->Route("/huge", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n");
  Handle session = Session();
  for (const char* path : {"/none", "/huge"}) {
    SCOPED_TRACE(path);
    std::uint32_t number = 7, length = sizeof number;
    EXPECT_FALSE(HttpQueryInfo(Get(session, path), kQueryContentLength | kQueryFlagNumber, &number,
                               length, nullptr));
  }
}

TEST_F(InetTest, RedirectToHttpsNeedsItsFlag) {
  // The https target is the server itself: a TLS greeting arriving there shows it was tried.
  server->Route("/secure", "HTTP/1.1 302 Found\r\nLocation: https://127.0.0.1:" +
                               std::to_string(server->Port()) + "/s\r\nContent-Length: 0\r\n\r\n");
  Handle session = Session();
  bool sent = true;
  Handle refused = Get(session, "/secure", 0, "", 0, &sent);
  EXPECT_FALSE(sent);
  EXPECT_EQ(RawHeaders(refused).rfind("HTTP/1.1 302", 0), 0u);
  EXPECT_EQ(server->Requests().size(), 1u);

  server->Clear();
  Get(session, "/secure", kFlagIgnoreRedirectToHttps, "", 0, &sent);
  EXPECT_FALSE(sent);  // the test server speaks no TLS
  std::vector<std::string> requests = server->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1][0], '\x16');
}

TEST_F(InetTest, ProxyListServesItsSchemeUnlessBypassed) {
  server->Route("/p", OkResponse("via proxy"));
  const Text self = "127.0.0.1:" + std::to_string(server->Port());
  // Port 9 of the named host is closed: only the proxy can answer.
  Handle proxied = Session(kOpenTypeProxy, "http=" + self, "");
  Handle request = Get(proxied, "/p", 0, "", 9);
  EXPECT_EQ(ReadAll(request), "via proxy");
  EXPECT_EQ(server->LastRequest().rfind("GET http://127.0.0.1:9/p HTTP/1.1\r\n", 0), 0u);

  Handle bypassing = Session(kOpenTypeProxy, "http=" + self, "*.0.0.1");
  bool sent = true;
  Get(bypassing, "/p", 0, "", 9, &sent);
  EXPECT_FALSE(sent);

  // An https request does not use an http-only proxy: it goes straight to the server.
  server->Clear();
  Get(proxied, "/p", kFlagSecure, "", server->Port(), &sent);
  ASSERT_EQ(server->Requests().size(), 1u);
  EXPECT_EQ(server->LastRequest()[0], '\x16');

  EXPECT_EQ(InternetOpen("a", kOpenTypeProxy, "", "", 0), 0);
  EXPECT_EQ(InternetOpen("a", kOpenTypeProxy, std::nullopt, std::nullopt, 0), 0);
}

TEST_F(InetTest, BrokenServersGiveFailuresNotHangs) {
  server->RouteEndless("/endless", "HTTP/1.1 200 OK\r\n");
  // Every status line or interim answer starts a new block: these must end as well.
  server->RouteEndless("/interim", "HTTP/1.1 100 Continue\r\n\r\n",
                       "HTTP/1.1 100 Continue\r\n\r\n");
  server->RouteEndless("/status-lines", "HTTP/1.1 200 OK\r\n", "HTTP/1.1 200 OK\r\n");
  server->Route("/garbage", "\x01\x02 this is no HTTP at all\r\n\r\n");
  server->Route("/badlength", "HTTP/1.1 200 OK\r\nContent-Length: abc\r\n\r\nbody");
  server->Route("/cut",
                "HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + std::string(5000, 'x'));
  Handle session = Session();
  for (const char* path : {"/endless", "/interim", "/status-lines", "/garbage", "/badlength"}) {
    SCOPED_TRACE(path);
    bool sent = true;
    Handle request = Get(session, path, 0, "", 0, &sent);
    EXPECT_FALSE(sent);
    bool ok = true;
    EXPECT_EQ(ReadAll(request, &ok), "");
    EXPECT_FALSE(ok);
  }
  bool ok = true;
  EXPECT_EQ(ReadAll(Get(session, "/cut"), &ok).size(), 5000u);
  EXPECT_FALSE(ok);
}

// A server that accepts the request and never answers costs the caller about a minute, never
// the rest of its life, whether the request was opened in steps or as an address in one.
TEST_F(InetTest, ASilentServerEndsTheRequestWithinTheStallTime) {
  server->RouteSilent("/silent");
  const Handle session = Session();
  const auto timed = [](auto call) {
    const auto begin = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                            begin)
        .count();
  };
  bool sent = true;
  long long inSteps = 0;
  std::thread steps([&] { inSteps = timed([&] { Get(session, "/silent", 0, "", 0, &sent); }); });
  Handle opened = 1;
  const long long inOne =
      timed([&] { opened = InternetOpenUrl(session, server->Url("/silent"), "", 0); });
  steps.join();
  EXPECT_FALSE(sent);
  EXPECT_EQ(opened, 0);
  for (long long seconds : {inSteps, inOne}) {
    EXPECT_GE(seconds, kStallSeconds - 10);
    EXPECT_LE(seconds, kStallSeconds + 30);
  }
}

TEST_F(InetTest, MalformedAddressesAreRefusedAtOpen) {
  Handle session = Session();
  EXPECT_EQ(InternetConnect(session, "", 80, "", "", kServiceHttp, 0), 0);
  EXPECT_EQ(InternetConnect(session, "bad host", 80, "", "", kServiceHttp, 0), 0);
  EXPECT_EQ(InternetConnect(session, "h", 65536, "", "", kServiceHttp, 0), 0);
  EXPECT_EQ(InternetConnect(session, "h", -1, "", "", kServiceHttp, 0), 0);
  EXPECT_EQ(InternetConnect(session, "h", 80, "", "", 1, 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "127.0.0.1/no-scheme", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "ftp://127.0.0.1/", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "http:///nohost", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "http:/127.0.0.1/x", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "https://", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(session, "http://127.0.0.1:abc/", "", 0), 0);
  EXPECT_EQ(InternetOpenUrl(0, server->Url("/"), "", 0), 0);
}

TEST_F(InetTest, WireTextsAreEscapedOrCut) {
  server->Route("/long", OkResponse("long ok"));
  server->Route("/set", OkResponse("", "Set-Cookie: sid=1; path=/\r\n"));
  Handle session = Session();
  Get(session, "/set");  // a stored cookie must not spoil a long request's header block
  // Spaces, controls and GBK bytes are escaped; ".." stays as given.
  Get(session, "/a b/../\xC4\xE3\r\n?q=1");
  EXPECT_EQ(server->LastRequest().rfind("GET /a%20b/../%C4%E3%0D%0A?q=1 HTTP/1.1\r\n", 0), 0u);

  Handle request = Get(session, "/long?" + std::string(100 * 1024, 'q'));
  EXPECT_EQ(ReadAll(request), "long ok");

  // Line breaks cannot smuggle header lines in through the agent, the referrer or a line.
  Handle injected = InternetOpen("A\r\nX-Agent: 1", kOpenTypeDirect, "", "", 0);
  opened.push_back(injected);
  Handle connection =
      InternetConnect(injected, "127.0.0.1", server->Port(), "", "", kServiceHttp, 0);
  Handle sent = HttpOpenRequest(connection, "GET", "/long", "", "r\nX-Referrer: 1", 0);
  HttpSendRequest(sent, "X-Line: a\rX-Bare: 1\r\nGood: yes", {});
  Text head = server->LastRequest();
  EXPECT_NE(head.find("\r\nUser-Agent: A\r\n"), std::string::npos);
  EXPECT_NE(head.find("\r\nReferer: r\r\n"), std::string::npos);
  EXPECT_NE(head.find("\r\nGood: yes\r\n"), std::string::npos);
  EXPECT_EQ(head.find("X-"), std::string::npos);
}

TEST_F(InetTest, ClosingASessionClosesWhatWasOpenedThroughIt) {
  server->Route("/c", OkResponse("x"));
  Handle session = InternetOpen("a", kOpenTypeDirect, "", "", 0);
  Handle request = Get(session, "/c");
  ASSERT_NE(request, 0);
  EXPECT_TRUE(InternetCloseHandle(session));
  std::uint32_t read = 5;
  char buffer[4];
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, read));
  EXPECT_EQ(read, 0u);
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetCloseHandle(0));
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
  return 0;
}

TEST_F(InetTest, LargeBodyStreamsThroughBoundedMemoryOnAWorkerThread) {
#if defined(__SANITIZE_ADDRESS__)
  const long long size = 48ll << 20;
#else
  const long long size = 400ll << 20;
#endif
  server->RouteStream(
      "/big", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size);
  Handle session = Session();
  long long total = 0;
  bool patternHolds = true;
  long before = ResidentKilobytes(), peak = before;
  std::thread worker([&] {
    Handle request = InternetOpenUrl(session, server->Url("/big"), "", kFlagReload);
    char buffer[1024];
    std::uint32_t read = 0;
    while (InternetReadFile(request, buffer, sizeof buffer, read) && read > 0) {
      if (buffer[0] != testing::StreamByte(total)) patternHolds = false;
      total += read;
      if ((total & ((1 << 24) - 1)) < 1024) peak = std::max(peak, ResidentKilobytes());
    }
    InternetCloseHandle(request);
  });
  worker.join();
  EXPECT_EQ(total, size);
  EXPECT_TRUE(patternHolds);
  EXPECT_LT(peak - before, 32 * 1024);
}

}  // namespace
}  // namespace kesto::inet
