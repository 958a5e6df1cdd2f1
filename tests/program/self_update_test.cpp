// Fetching the missing updater from a server on 127.0.0.1: the list, the download with its
// progress, the saved and started up.qmz, and every way it can fail.
#include "net/self_update.h"

#include "shell/globals.h"
#include "tests/program/loopback_server.h"
#include "tests/program/platform_fixture.h"

namespace kesto::testing {
namespace {

// A working stand-in updater of exactly `size` bytes: the recording script padded by a comment.
std::string UpdaterProgram(std::size_t size) {
  const std::string script = "#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho \"$*\" >> updater.log\n#";
  return script + std::string(size - script.size() - 1, 'x') + "\n";
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
    net::OverrideUpdateListAddress(server_.Address("/app/up/1.txt"));
  }
  void ServeList(const std::string& updater) {
    server_.Serve("/app/up/1.txt", "x[up]1.6|notes|" + updater + "[/up]y");
  }
  // Runs the user-interface thread until the worker has ended the program.
  std::optional<int> WaitForEnd(std::chrono::seconds atMost = std::chrono::seconds(10)) {
    return Ending([atMost] { headless::RunUntil([] { return false; }, atMost); });
  }
  int Bar() const { return ui::GetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition); }
  bool BarReaches(int position) const {
    for (int wait = 0; wait < 1000 && Bar() != position; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return Bar() == position;
  }

  LoopbackServer server_;
};

TEST_F(SelfUpdateTest, DownloadsSavesAndStartsTheUpdaterWhileTheBarMoves) {
  const std::string program = UpdaterProgram(5000);
  ServeList(server_.Address("/files/up.bin"));
  std::vector<std::string> pieces;
  for (std::size_t at = 0; at < 5000; at += 1024) pieces.push_back(program.substr(at, 1024));
  server_.ServeInPieces("/files/up.bin", Head("Content-Length: 5000\r\n"), pieces);

  ASSERT_EQ(Start({}), std::nullopt);
  ASSERT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_FALSE(headless::TrayEntry());
  for (int position : {2048, 4096, 6144, 8192, 10000}) {
    server_.ReleasePiece();
    EXPECT_TRUE(BarReaches(position)) << "bar at " << Bar() << ", not " << position;
  }
  EXPECT_EQ(WaitForEnd(), 0);

  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u) << "the saved updater runs";
  EXPECT_EQ(folder_.Read("updater.log"), "-qmz\n");
  EXPECT_EQ(ConfigValue("wm", "run"), "pt");
}

// Without a size the bar stays; a window closed by hand loses its bar but not the download.
TEST_F(SelfUpdateTest, UnknownSizeAndAWindowClosedByHandStillSaveTheWholeUpdater) {
  const std::string program = UpdaterProgram(3000);
  ServeList(server_.Address("/up.bin"));
  server_.ServeInPieces("/up.bin", Head(""), {program.substr(0, 1024), program.substr(1024)});
  ASSERT_EQ(Start({}), std::nullopt);
  server_.ReleasePiece();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Bar(), 0);
  ui::CloseWindow(names::kUpdateWindow);
  Drain();

  server_.ReleasePiece();
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  for (const headless::MessageRecord& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.text.find("运行时出错"), std::string::npos) << box.text;
  }
}

TEST_F(SelfUpdateTest, NoListNoBlockAFailedEmptyOrCutShortDownloadSaveNothing) {
  const std::string unreachable = "http://127.0.0.1:" + std::to_string(UnusedPort());
  struct Case {
    std::string list;    // empty: the list address is unreachable
    std::string answer;  // the updater file's response
    std::string message;
  } cases[] = {
      {"", "", ""},
      {"x[up]a|b|c|d[/up]", "", ""},
      {"[up]a|b|c", "", ""},
      {"[up]1|2|" + unreachable + "/up.bin[/up]", "", "不能打开该URL!"},
      {"[up]1|2|" + server_.Address("/up.bin") + "[/up]", Head("Content-Length: 0\r\n"), ""},
      {"[up]1|2|" + server_.Address("/up.bin") + "[/up]",
       Head("Content-Length: 5000\r\n") + UpdaterProgram(3000), ""},
      {"[up]1|2|" + server_.Address("/up.bin") + "[/up]",
       "HTTP/1.1 404 Not Found\r\nContent-Length: 23\r\nConnection: close\r\n\r\n"
       "<html>not found</html>\n",
       ""},
      {"[up]1|2|" + server_.Address("/up.bin") + "[/up]",
       "HTTP/1.1 500 Oops\r\nConnection: close\r\n\r\n" + UpdaterProgram(3000), ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.list + " / " + test.answer.substr(0, 40));
    headless::ResetAll();
    net::OverrideUpdateListAddress(test.list.empty() ? unreachable + "/app/up/1.txt"
                                                     : server_.Address("/app/up/1.txt"));
    server_.Serve("/app/up/1.txt", test.list);
    server_.ServeRaw("/up.bin", test.answer);
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(), 0);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    EXPECT_FALSE(shell::AppConfig) << "the exit routine ran";
    std::vector<Text> expected;
    if (!test.message.empty()) expected.push_back(test.message);
    EXPECT_EQ(MessageTexts(), expected);
  }
}

// A server that stops answering costs the stall time (WinInet's default time-outs), then the
// worker ends the program as on any other failure: the user is never left with a window that
// hangs for good.
TEST_F(SelfUpdateTest, AStalledListOrDownloadEndsTheProgramAfterTheStallTime) {
  const std::string program = UpdaterProgram(3000);
  struct Case {
    const char* stalls;
    std::string list;
  } cases[] = {
      {"the list", ""},
      {"the download", "x[up]1.6|notes|" + server_.Address("/stalls") + "[/up]"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.stalls);
    headless::ResetAll();
    if (test.list.empty()) {
      server_.ServeInPieces("/app/up/1.txt", Head("Content-Length: 100\r\n"), {"never sent"});
    } else {
      server_.Serve("/app/up/1.txt", test.list);
    }
    server_.ServeInPieces("/stalls", Head("Content-Length: 3000\r\n"), {program});
    const auto begin = std::chrono::steady_clock::now();
    std::optional<int> ended = Start({});
    EXPECT_EQ(ended ? ended : WaitForEnd(std::chrono::seconds(120)), 0);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin);
    EXPECT_GE(seconds.count(), 50);
    EXPECT_LE(seconds.count(), 100);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    server_.ReleasePiece();  // the server's one connection at a time goes on to the next
  }
}

// An up.qmz that cannot run (a saved error page, say) must not end every start silently: the
// update window fetches a working one, which then takes over.
TEST_F(SelfUpdateTest, AnUpdaterThatCannotStartIsFetchedAgain) {
  folder_.Write("up.qmz", "<html>not found</html>\n");
  std::filesystem::permissions(folder_ / "up.qmz", std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  const std::string program = UpdaterProgram(2000);
  ServeList(server_.Address("/up.bin"));
  server_.Serve("/up.bin", program);

  ASSERT_EQ(Start({}), std::nullopt) << "the failed hand-over does not end the start";
  EXPECT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

TEST(UpdaterAddressFromList, TakesTheThirdOfExactlyThreeFieldsOfTheFirstBlockAsItStands) {
  auto from = [](const std::string& text) {
    return net::UpdaterAddressFromList(Bytes(text.begin(), text.end()));
  };
  EXPECT_EQ(from("[up]\r\na|b|http://host/f\r\n[/up]"), "http://host/f\r\n");
  EXPECT_EQ(from("[up]a|b|first[/up][up]a|b|second[/up]"), "first");
  EXPECT_EQ(from("[up]a|b|c|[/up]"), "c") << "a trailing separator adds no field";
  EXPECT_EQ(from("[UP]a|b|c[/UP]"), "");
  EXPECT_EQ(from("[/up][up]a|b|c"), "");
  EXPECT_EQ(from(std::string("[up]a|b|c\0[/up]", 15)), "") << "the text ends at a zero byte";
}

}  // namespace
}  // namespace kesto::testing
