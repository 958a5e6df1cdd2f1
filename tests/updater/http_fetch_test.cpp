// The updater's download of one package file: what is saved, what a fault leaves behind, and
// how a body without end and a cancel stop it.
#include "update/http_fetch.h"

#include <gtest/gtest.h>

#include <future>

#include "runtime/tool_services.h"
#include "tests/net/test_server.h"
#include "tests/updater/peak_memory.h"
#include "update/transfer_progress.h"

namespace kesto::update {
namespace {

using testing::OkResponse;
using testing::TestServer;

class FetchToFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = CurrentDirectory() + "\\fetch-" + ToText(static_cast<int>(CurrentProcessId()));
    RemoveFolderTree(folder_);
    ASSERT_TRUE(MakeFolder(folder_));
    file_ = folder_ + "\\memo.qmz";
  }
  void TearDown() override { RemoveFolderTree(folder_); }

  std::vector<Text> FolderNames() const {
    std::vector<Text> names;
    FindHandle handle = 0;
    for (Text name = FindFiles(folder_ + "\\*", 0, true, handle); !name.empty();
         name = FindFiles("", 0, true, handle)) {
      names.push_back(name);
    }
    return names;
  }

  std::string Saved() const {
    const Bytes bytes = ReadFileBytes(file_);
    return std::string(bytes.begin(), bytes.end());
  }

  TestServer server_;
  Text folder_;
  Text file_;
};

TEST_F(FetchToFileTest, AWholeBodyIsSavedAndReplacesTheFile) {
  ASSERT_TRUE(WriteFileBytes(file_, {ToBytes("an older and longer program file")}));
  server_.Route("/app/pkg/memo/memo.qmz", OkResponse(std::string("MZ\0\x01program", 11)));
  const Fetch fetch = FetchToFile(server_.Url("/app/pkg/memo/memo.qmz"), file_);
  EXPECT_EQ(fetch.result, FetchResult::kSaved) << fetch.reason;
  EXPECT_EQ(fetch.size, 11u);
  EXPECT_EQ(Saved(), std::string("MZ\0\x01program", 11));
  EXPECT_NE(server_.LastRequest().find("GET /app/pkg/memo/memo.qmz HTTP/1.1"), std::string::npos);
}

TEST_F(FetchToFileTest, AMissingFileIsToldApartFromAFailureAndNothingIsWritten) {
  server_.Route("/missing", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found");
  const Fetch missing = FetchToFile(server_.Url("/missing"), file_);
  EXPECT_EQ(missing.result, FetchResult::kNotFound);
  EXPECT_FALSE(FileExists(file_)) << "an error page is not a program file";

  server_.Route("/broken", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\noops");
  const Fetch broken = FetchToFile(server_.Url("/broken"), file_);
  EXPECT_EQ(broken.result, FetchResult::kFailed);
  EXPECT_NE(broken.reason.find("500"), Text::npos) << broken.reason;
  EXPECT_FALSE(FileExists(file_));
}

TEST_F(FetchToFileTest, ATransferCutShortLeavesTheOldFileAsItWas) {
  ASSERT_TRUE(WriteFileBytes(file_, {ToBytes("the program that works")}));
  // Cut at half its length, and a chunked body that stops before its last chunk.
  server_.RouteStream("/cut", "HTTP/1.1 200 OK\r\nContent-Length: 2000000\r\n\r\n", 1000000);
  server_.Route("/chunks-cut",
                "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n8\r\npart");
#ifdef _WIN32
  // WinInet under Wine ends a chunked body that the server cut as if it were whole.
  const char* const paths[] = {"/cut"};
#else
  const char* const paths[] = {"/cut", "/chunks-cut"};
#endif
  for (const char* path : paths) {
    SCOPED_TRACE(path);
    const Fetch cut = FetchToFile(server_.Url(path), file_);
    EXPECT_EQ(cut.result, FetchResult::kFailed);
    EXPECT_EQ(Saved(), "the program that works");
    EXPECT_EQ(FolderNames(), std::vector<Text>{"memo.qmz"}) << "no half file beside it";
  }

  const Fetch unreachable =
      FetchToFile("http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/memo.qmz", file_);
  EXPECT_EQ(unreachable.result, FetchResult::kFailed);
  EXPECT_EQ(Saved(), "the program that works");
}

// A package goes to the disk as it arrives: fetching one of 50 MB raises the process's peak
// memory by far less than its size (the sanitizers take their share of the rest).
TEST_F(FetchToFileTest, ABigPackageIsSavedWithoutHoldingItInMemory) {
  constexpr long long kSize = 50ll << 20;
  server_.RouteStream("/big.qmz",
                      "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSize) + "\r\n\r\n",
                      kSize);
  const std::size_t before = testing::PeakMemory();
  const Fetch fetch = FetchToFile(server_.Url("/big.qmz"), file_);
  EXPECT_EQ(fetch.result, FetchResult::kSaved) << fetch.reason;
  EXPECT_EQ(fetch.size, static_cast<std::size_t>(kSize));
  EXPECT_LT(testing::PeakMemory() - before, static_cast<std::size_t>(kSize / 2));
  const Bytes saved = ReadFileBytes(file_);
  ASSERT_EQ(saved.size(), static_cast<std::size_t>(kSize));
  for (long long at : {0ll, 12345ll, kSize - 1}) {
    EXPECT_EQ(static_cast<char>(saved[at]), testing::StreamByte(at));
  }
}

// A body without a length that never ends stops at the limit, and nothing of it is kept.
TEST_F(FetchToFileTest, AnEndlessBodyStopsAtTheLimitAndNothingIsKept) {
  server_.RouteEndless("/app/feed.json", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n",
                       "{\"releases\": [], ");
  const Fetch fetch = FetchToFile(server_.Url("/app/feed.json"), file_, std::nullopt, "", 1 << 20);
  EXPECT_EQ(fetch.result, FetchResult::kFailed);
  EXPECT_NE(fetch.reason.find("longer than 1048576 bytes"), Text::npos) << fetch.reason;
  EXPECT_TRUE(FolderNames().empty()) << "no file, whole or half";
}

// A cancel ends a download within a second while it waits on a server that says nothing, for
// its answer or in the middle of the body, and nothing is kept.
TEST_F(FetchToFileTest, ACancelEndsADownloadWaitingOnASilentServerWithinASecond) {
  server_.RouteSilent("/silent");
  server_.RouteTrickle("/stops", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst part", 1, 0,
                       TestServer::AfterTrickle::kHold);
  for (const char* path : {"/silent", "/stops"}) {
    SCOPED_TRACE(path);
    auto fetch =
        std::async(std::launch::async, [&] { return FetchToFile(server_.Url(path), file_); });
    ASSERT_EQ(fetch.wait_for(std::chrono::milliseconds(500)), std::future_status::timeout);
    CancelTransfer();
    EXPECT_EQ(fetch.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    const Fetch result = fetch.get();
    ResetTransfer();
    EXPECT_EQ(result.result, FetchResult::kFailed);
    EXPECT_NE(result.reason.find("cancelled"), Text::npos) << result.reason;
    EXPECT_TRUE(FolderNames().empty());
  }
}

}  // namespace
}  // namespace kesto::update
