// Download against the scripted server: the request it sends, the progress it reports, and
// the messages and results of its failures.
#include "net/downloader.h"

#include <gtest/gtest.h>

#include <thread>

#include "runtime/headless/frame.h"
#include "tests/net/test_server.h"

namespace kesto::net {
namespace {

using testing::OkResponse;
using testing::TestServer;

struct Report {
  int total, received, elapsed, fromStart;
};

class DownloadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new TestServer; }
  static void TearDownTestSuite() { delete server; }
  void SetUp() override {
    server->Clear();
    headless::ResetFrame();
  }

  ProgressCallback Recorder() {
    return [this](int total, int received, int elapsed, int fromStart) {
      reports.push_back({total, received, elapsed, fromStart});
    };
  }
  static Text HeadOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
  }

  static TestServer* server;
  std::vector<Report> reports;
};

TestServer* DownloadTest::server = nullptr;

// No encoding is asked for that would not be decoded.
const Text kHeaderLines =
    "Accept: */*\r\nAccept-Language: zh-cn\r\n"
    "User-Agent: Mozilla/4.0(compatible; MSIE 6.0; Windows NT 5.0; MyIE2; .NET CLR 1.1.4322)";

TEST_F(DownloadTest, BodyArrivesInChunksWithAReportAfterEach) {
  const std::string body(3000, 'b');
  server->Route("/f", OkResponse(body));
  Bytes result = Download(server->Url("/f"), Recorder());
  EXPECT_EQ(Text(result.begin(), result.end()), body);
  ASSERT_EQ(reports.size(), 3u);
  const int received[] = {1024, 2048, 3000};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reports[i].total, 3000);
    EXPECT_EQ(reports[i].received, received[i]);
    EXPECT_EQ(reports[i].fromStart, received[i]);  // no range start counts as 0
    EXPECT_GT(reports[i].elapsed, 0);
  }
  Text head = HeadOf(server->LastRequest());
  EXPECT_NE(head.find("\r\n" + kHeaderLines + "\r\n"), std::string::npos);
  EXPECT_EQ(head.find("Range"), std::string::npos);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DownloadTest, RangeStartIsSentAndSubtracted) {
  server->Route("/r", "HTTP/1.1 206 Partial Content\r\nContent-Length: 1500\r\n\r\n" +
                          std::string(1500, 'r'));
  EXPECT_EQ(Download(server->Url("/r"), Recorder(), 0).size(), 1500u);
  EXPECT_NE(HeadOf(server->LastRequest()).find("\r\n" + kHeaderLines + "\r\nRange:bytes=0-\r\n"),
            std::string::npos);

  reports.clear();
  Download(server->Url("/r"), Recorder(), 100);
  EXPECT_NE(server->LastRequest().find("\r\nRange:bytes=100-\r\n"), std::string::npos);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].total, 1500);
  EXPECT_EQ(reports[1].received, 1500);
  EXPECT_EQ(reports[1].fromStart, 1400);

  // Without a callback the body still comes whole.
  EXPECT_EQ(Download(server->Url("/r")).size(), 1500u);
}

TEST_F(DownloadTest, UnannouncedAndEmptyBodies) {
  server->Route("/open", "HTTP/1.1 200 OK\r\n\r\n" + std::string(1100, 'o'));
  EXPECT_EQ(Download(server->Url("/open"), Recorder()).size(), 1100u);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].total, 0);
  EXPECT_EQ(reports[1].total, 0);

  reports.clear();
  server->Route("/empty", OkResponse(""));
  EXPECT_TRUE(Download(server->Url("/empty"), Recorder()).empty());
  EXPECT_TRUE(reports.empty());

  // An error page is a body like any other.
  EXPECT_TRUE(Download(server->Url("/missing")).empty());
  server->Route("/error", "HTTP/1.1 500 Oops\r\nContent-Length: 4\r\n\r\nfail");
  int status = 0;
  EXPECT_EQ(Download(server->Url("/error"), {}, {}, &status).size(), 4u);
  EXPECT_EQ(status, 500) << "the caller can tell an error page from the file";
  EXPECT_EQ(Download(server->Url("/open"), {}, 0, &status).size(), 1100u);
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DownloadTest, AddressesThatCannotBeOpenedAreReported) {
  // A closed port (port 1: no test server is ever given it, as a port freed by one could be
  // given to another test's server running beside this one), a host no resolver can hold (a
  // 64-letter label: refused before any lookup leaves the machine), and addresses WinInet would
  // not take.
  const Text urls[] = {"http://127.0.0.1:1/x",
                       "http://" + Text(64, 'a') + ".invalid/f",
                       "no-scheme/f",
                       "ftp://127.0.0.1/f",
                       "http://127.0.0.1:abc/f",
                       ""};
  for (const Text& url : urls) {
    SCOPED_TRACE(url);
    headless::ResetFrame();
    EXPECT_TRUE(Download(url, Recorder(), 0).empty());
    std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "不能打开该URL!");
    EXPECT_EQ(boxes[0].caption, "信息：");
    EXPECT_EQ(boxes[0].flags, kMbOk | kMbTaskModal);
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(DownloadTest, BrokenTransfersGiveNothingAndNoMessage) {
  server->Route("/cut", "HTTP/1.1 200 OK\r\nContent-Length: 9000\r\n\r\n" + std::string(4000, 'c'));
  EXPECT_TRUE(Download(server->Url("/cut"), Recorder()).empty());
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back().received, 4000);

  // A claim of nearly 4 GB that is never kept must not claim the memory either.
  server->Route("/liar", "HTTP/1.1 200 OK\r\nContent-Length: 4000000000\r\n\r\nshort");
  EXPECT_TRUE(Download(server->Url("/liar")).empty());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DownloadTest, RunsOnAWorkerThread) {
#if defined(__SANITIZE_ADDRESS__)
  const long long size = 8ll << 20;
#else
  const long long size = 64ll << 20;
#endif
  server->RouteStream(
      "/big", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size);
  Bytes result;
  int calls = 0, lastReceived = 0;
  std::thread worker([&] {
    result = Download(server->Url("/big"), [&](int, int received, int, int) {
      ++calls;
      lastReceived = received;
    });
  });
  worker.join();
  ASSERT_EQ(static_cast<long long>(result.size()), size);
  EXPECT_EQ(result[size - 1], static_cast<std::uint8_t>(testing::StreamByte(size - 1)));
  EXPECT_EQ(calls, size / 1024);
  EXPECT_EQ(lastReceived, size);
}

}  // namespace
}  // namespace kesto::net
