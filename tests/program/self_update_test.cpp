// Fetching the missing updater from a server on 127.0.0.1: the list, the signed feed, the
// download with its progress, the saved and started up.qmz, and every way it can fail.
#include "net/self_update.h"

#include "shell/globals.h"
#include "tests/net/short_stall_time.h"
#include "tests/net/test_server.h"
#include "tests/program/platform_fixture.h"
#include "tests/update/sample_vendor.h"

namespace kesto::testing {
namespace {

constexpr char kUpdaterFile[] = "/app/feed/up/1.0/up.qmz";

std::string Size(const std::string& bytes) {
  return std::to_string(bytes.size());
}

std::string Head(const std::string& lengthLine) {
  return "HTTP/1.1 200 OK\r\n" + lengthLine + "Connection: close\r\n\r\n";
}

class SelfUpdateTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    folder_.AddApp("", "memo", "", false);
    net::OverrideUpdateListAddress(server_.Url("/app/up/1.txt"));
    Serve("/app/up/1.txt", "x[up]1.6|notes|" + server_.Url("/elsewhere/up.qmz") + "[/up]y");
  }
  // The stand-in updater as the vendor's feed publishes it: padded so that it makes five equal
  // pieces of whole 1 KiB reads, each moving the bar by a fifth.
  static std::string PublishedUpdater() { return Sample("updater/up.qmz"); }
  // A complete response with Content-Length.
  void Serve(const std::string& path, const std::string& body) {
    server_.Route(path, OkResponse(body, "Connection: close\r\n"));
  }
  // The signed feed that names the updater (the file itself is served by each test).
  void ServeFeed(const std::string& signature = "updater.json.sig") {
    Serve("/app/feed.json", Sample("updater.json"));
    Serve("/app/feed.json.sig", Sample(signature));
  }
  // Runs the user-interface thread until the worker has ended the program.
  std::optional<int> WaitForEnd(std::chrono::seconds atMost = std::chrono::seconds(10)) {
    return Ending([atMost] { headless::RunUntil([] { return false; }, atMost); });
  }
  int Bar() const { return ui::GetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition); }
  // The worker's writes wait in the user-interface thread's queue, which this drains.
  // A download reads in whole blocks of 16 KiB: what has arrived of a block still waits for
  // the rest of it, so the bar may stay a few blocks short of what has arrived (3 % here).
  bool BarReaches(int position) const {
    return headless::RunUntil([&] { return Bar() >= position - 300 && Bar() <= position; });
  }

  TestServer server_;
  SampleVendor vendor_{server_.Url("")};
};

TEST_F(SelfUpdateTest, DownloadsSavesAndStartsTheUpdaterWhileTheBarMoves) {
  const std::string program = PublishedUpdater();
  ServeFeed();
  std::vector<std::string> pieces;
  const std::size_t fifth = program.size() / 5;
  for (std::size_t at = 0; at < program.size(); at += fifth) {
    pieces.push_back(program.substr(at, fifth));
  }
  server_.RouteGated(kUpdaterFile, Head("Content-Length: " + Size(program) + "\r\n"), pieces);

  ASSERT_EQ(Start({}), std::nullopt);
  ASSERT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_FALSE(headless::TrayEntry());
  // With the last fifth the window closes at once: the end may come in the drain after it.
  const std::optional<int> ended = Ending([&] {
    for (int position : {2000, 4000, 6000, 8000}) {
      server_.ReleasePiece();
      EXPECT_TRUE(BarReaches(position)) << "bar at " << Bar() << ", not " << position;
    }
    server_.ReleasePiece();
  });
  EXPECT_EQ(ended ? ended : WaitForEnd(), 0);

  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(1);
  ASSERT_EQ(starts.size(), 1u) << "the saved updater runs";
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_EQ(ConfigValue("wm", "run"), "pt");
  EXPECT_EQ(server_.Requests().front().find("GET /app/up/1.txt "), 0u) << "the list is asked first";
  EXPECT_EQ(ReadIniValue(folder_.Inside("up.ini"), "versions", "up"), "1.0");
}

// The feed gives the size the server does not; a window closed by hand loses its bar but not
// the download.
TEST_F(SelfUpdateTest, UnknownSizeAndAWindowClosedByHandStillSaveTheWholeUpdater) {
  const std::string program = PublishedUpdater();
  ServeFeed();
  server_.RouteGated(kUpdaterFile, Head(""), {program.substr(0, 1024), program.substr(1024)});
  ASSERT_EQ(Start({}), std::nullopt);
  server_.ReleasePiece();
  ui::CloseWindow(names::kUpdateWindow);
  Drain();

  server_.ReleasePiece();
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  for (const headless::MessageRecord& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.text.find("运行时出错"), std::string::npos) << box.text;
  }
}

// Only the updater the vendor's feed describes is saved: a feed that is missing or not signed
// by the vendor, and a file that is not as it says (altered, cut short, an error page), save
// nothing, and the next start asks again. The list's own address is never fetched.
TEST_F(SelfUpdateTest, OnlyTheUpdaterTheSignedFeedDescribesIsSaved) {
  const std::string program = PublishedUpdater();
  std::string altered = program;
  altered[10] ^= 1;
  struct Case {
    const char* what;
    bool feed;
    const char* signature;
    std::string answer;  // the updater file's response
  } cases[] = {
      {"no feed", false, "", OkResponse(program)},
      {"another key's signature", true, "other-key.json.sig", OkResponse(program)},
      {"an altered file", true, "updater.json.sig", OkResponse(altered)},
      {"a cut-short file", true, "updater.json.sig",
       Head("Content-Length: " + std::to_string(program.size() + 2000) + "\r\n") + program},
      {"a longer file", true, "updater.json.sig", OkResponse(program + "x")},
      {"an error page", true, "updater.json.sig",
       "HTTP/1.1 500 Oops\r\nConnection: close\r\n\r\n" + program},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    headless::ResetAll();
    server_.Route("/app/feed.json", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    server_.Route("/app/feed.json.sig", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    if (test.feed) ServeFeed(test.signature);
    server_.Route(kUpdaterFile, test.answer);
    server_.Route("/elsewhere/up.qmz", OkResponse(program));
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(), 0);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    EXPECT_FALSE(shell::AppConfig) << "the exit routine ran";
    for (const std::string& request : server_.Requests()) {
      EXPECT_EQ(request.find("/elsewhere/"), std::string::npos);
    }
  }
}

// A server that stops answering costs the stall time (shortened here from the product's
// minute), then the worker ends the program as on any other failure: the user is never left
// with a window that hangs for good.
TEST_F(SelfUpdateTest, AStalledListOrDownloadEndsTheProgramAfterTheStallTime) {
  constexpr int kStall = 2;
  const ShortStallTime stall(kStall);
  const std::string program = PublishedUpdater();
  struct Case {
    const char* stalls;
    std::string list;
  } cases[] = {
      {"the list", ""},
      {"the download", "x[up]1.6|notes|[/up]"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.stalls);
    headless::ResetAll();
    if (test.list.empty()) {
      server_.RouteGated("/app/up/1.txt", Head("Content-Length: 100\r\n"), {"never sent"});
    } else {
      Serve("/app/up/1.txt", test.list);
      ServeFeed();
    }
    server_.RouteGated(kUpdaterFile, Head("Content-Length: " + Size(program) + "\r\n"), {program});
    const auto begin = std::chrono::steady_clock::now();
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(std::chrono::seconds(30)), 0);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(seconds.count(), kStall - 0.5);
    EXPECT_LE(seconds.count(), kStall + 5);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    server_.ReleasePiece();  // the stalled connection's handler ends
  }
}

// An up.qmz that cannot run (a saved error page, say) must not end every start silently: the
// update window fetches a working one, which then takes over.
TEST_F(SelfUpdateTest, AnUpdaterThatCannotStartIsFetchedAgain) {
  folder_.Write("up.qmz", "<html>not found</html>\n");
  std::filesystem::permissions(folder_ / "up.qmz", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  const std::string program = PublishedUpdater();
  ServeFeed();
  Serve(kUpdaterFile, program);

  ASSERT_EQ(Start({}), std::nullopt) << "the failed hand-over does not end the start";
  EXPECT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

}  // namespace
}  // namespace kesto::testing
