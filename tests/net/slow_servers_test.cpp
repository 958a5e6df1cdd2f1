// Servers that answer slowly, stop half-way, stall or trickle: bytes that keep coming within
// the stall time make a whole response, a header block that never closes is a failed request,
// and a stall, or a trickle below the least rate, ends the request after the stall time (the
// product's minute, shortened here to seconds), never later.
#include <gtest/gtest.h>

#include <thread>  // steady_clock: <chrono> itself holds text GBK cannot spell

#include "runtime/inet.h"
#include "tests/net/short_stall_time.h"
#include "tests/net/test_server.h"

namespace kesto::inet {
namespace {

using testing::OkResponse;
using testing::TestServer;
using After = TestServer::AfterTrickle;

class SlowServers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new TestServer; }
  static void TearDownTestSuite() { delete server; }
  void TearDown() override {
    for (Handle handle : opened_) InternetCloseHandle(handle);
  }

  // Sends a GET of the path; whether it was sent, and the request handle.
  bool Send(const Text& path, Handle& request) {
    Handle session = Keep(InternetOpen("TestAgent", kOpenTypeDirect, {}, {}, 0));
    Handle connection =
        Keep(InternetConnect(session, "127.0.0.1", server->Port(), "", "", kServiceHttp, 0));
    request = Keep(HttpOpenRequest(connection, "GET", path, "HTTP/1.1", "", 0));
    return request && HttpSendRequest(request, "", {});
  }

  // The body as far as it came; `ok` tells whether the last read succeeded.
  static std::string ReadAll(Handle request, bool& ok) {
    std::string body;
    char buffer[1024];
    std::uint32_t read = 0;
    while ((ok = InternetReadFile(request, buffer, sizeof buffer, read)) && read > 0) {
      body.append(buffer, read);
    }
    return body;
  }

  static double SecondsSince(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  }

  Handle Keep(Handle handle) {
    if (handle) opened_.push_back(handle);
    return handle;
  }

  static TestServer* server;
  std::vector<Handle> opened_;
};

TestServer* SlowServers::server = nullptr;

// The stall time of the tests that wait on one.
constexpr int kStall = 2;

TEST_F(SlowServers, BytesTricklingWithinTheStallTimeMakeTheWholeResponse) {
  const std::string body = "a slow but steady answer";
  server->RouteTrickle("/slow", OkResponse(body), 6, 1500);
  Handle request = 0;
  ASSERT_TRUE(Send("/slow", request));
  bool ok = false;
  EXPECT_EQ(ReadAll(request, ok), body);
  EXPECT_TRUE(ok);
}

TEST_F(SlowServers, HeaderBlockCutByTheServerIsAFailedRequest) {
  // Closed inside a header line, and closed after whole lines but before the blank line.
  server->Route("/half-line", "HTTP/1.1 200 OK\r\nContent-Le");
  server->Route("/no-blank-line", "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n");
  server->RouteTrickle("/slowly-cut", "HTTP/1.1 200 OK\r\nServer: slow\r\nX-A: b\r\n", 3, 500);
  for (const char* path : {"/half-line", "/no-blank-line", "/slowly-cut"}) {
    SCOPED_TRACE(path);
    Handle request = 0;
    EXPECT_FALSE(Send(path, request));
    bool ok = true;
    EXPECT_EQ(ReadAll(request, ok), "");
    EXPECT_FALSE(ok);
  }
}

TEST_F(SlowServers, ResponseWithoutLengthEndsWithTheConnection) {
  // No Content-Length: the body is what came before the server closed, and that is success.
  server->Route("/until-close", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nall of it");
  server->Route("/empty-until-close", "HTTP/1.0 200 OK\r\n\r\n");
  Handle request = 0;
  ASSERT_TRUE(Send("/until-close", request));
  bool ok = false;
  EXPECT_EQ(ReadAll(request, ok), "all of it");
  EXPECT_TRUE(ok);
  ASSERT_TRUE(Send("/empty-until-close", request));
  EXPECT_EQ(ReadAll(request, ok), "");
  EXPECT_TRUE(ok);
}

TEST_F(SlowServers, HeaderBlockThatStallsEndsTheRequestWithinTheStallTime) {
  const testing::ShortStallTime stall(kStall);
  server->RouteTrickle("/stalls", "HTTP/1.1 200 OK\r\nContent-Le", 2, 200, After::kHold);
  const auto begin = std::chrono::steady_clock::now();
  Handle request = 0;
  EXPECT_FALSE(Send("/stalls", request));
  EXPECT_GE(SecondsSince(begin), kStall - 0.5);
  EXPECT_LE(SecondsSince(begin), kStall + 3);
}

TEST_F(SlowServers, BodyThatStallsEndsTheReadWithinTheStallTime) {
  const testing::ShortStallTime stall(kStall);
  server->RouteTrickle("/stalls", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst part", 1, 0,
                       After::kHold);
  const auto begin = std::chrono::steady_clock::now();
  Handle request = 0;
  ASSERT_TRUE(Send("/stalls", request));
  bool ok = true;
  EXPECT_EQ(ReadAll(request, ok), "first part");
  EXPECT_FALSE(ok);
  EXPECT_GE(SecondsSince(begin), kStall - 0.5);
  EXPECT_LE(SecondsSince(begin), kStall + 3);
}

// A body that trickles a byte a second, below the least rate, ends like a silent one after the
// stall time; one that comes at 1,000 bytes a second, a slow line, runs past it to its end.
TEST_F(SlowServers, BodyBelowTheLeastRateEndsAfterTheStallTimeAndASlowLineDoesNot) {
  const testing::ShortStallTime stall(kStall);
  const auto head = [](std::size_t length) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
  };
  const std::string trickle(100, 't');
  server->RouteDrip("/trickle", head(trickle.size()), trickle, 1, 1000);
  const auto begin = std::chrono::steady_clock::now();
  Handle request = 0;
  ASSERT_TRUE(Send("/trickle", request));
  bool ok = true;
  EXPECT_LT(ReadAll(request, ok).size(), trickle.size());
  EXPECT_FALSE(ok);
  EXPECT_GE(SecondsSince(begin), kStall - 0.5);
  EXPECT_LE(SecondsSince(begin), kStall + 3);

  const std::string slow(2 * kStall * 1000, 's');
  server->RouteDrip("/slow-line", head(slow.size()), slow, 100, 100);
  ASSERT_TRUE(Send("/slow-line", request));
  EXPECT_EQ(ReadAll(request, ok), slow);
  EXPECT_TRUE(ok);
}

}  // namespace
}  // namespace kesto::inet
