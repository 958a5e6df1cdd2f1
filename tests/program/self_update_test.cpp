// Fetching the missing updater: the update list from a server on 127.0.0.1, the download with
// its progress, the saved up.qmz, the hand-over, and every way it can fail.
#include "net/self_update.h"

#include <sys/socket.h>
#include <unistd.h>

#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "tests/program/loopback_server.h"
#include "tests/program/platform_fixture.h"

namespace kesto::testing {
namespace {

// A port on 127.0.0.1 nothing listens on.
int UnusedPort() {
  LoopbackServer probe;
  return probe.port();
}

// A working stand-in updater of exactly `size` bytes: the recording script padded by a comment.
std::string UpdaterProgram(std::size_t size) {
  const std::string script =
      "#!/bin/sh\n"
      "cd \"$(dirname \"$0\")\" || exit 1\n"
      "printf '%s\\n' \"$*\" >> updater.log\n"
      "#";
  return script + std::string(size - script.size() - 1, 'x') + "\n";
}

std::string Response(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

class SelfUpdateTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    folder_.AddApp("", "memo", "", false);
    net::OverrideUpdateListAddress(server_.Address("/app/up/1.txt"));
  }
  void ServeList(const std::string& body) { server_.Serve("/app/up/1.txt", body); }
  std::string ListNaming(const std::string& updaterAddress) {
    return "[up]1.6|notes|" + updaterAddress + "[/up]";
  }
  // Starts the platform as the user would, without an updater: the update window opens.
  void StartWithoutUpdater() {
    ASSERT_EQ(Start({}), std::nullopt);
    ASSERT_TRUE(headless::IsLoaded(names::kUpdateWindow));
    EXPECT_FALSE(headless::TrayEntry());
    EXPECT_TRUE(headless::IsLoaded(names::kMainWindow));
  }
  // Runs the user-interface thread until the worker has ended the program.
  std::optional<int> WaitForEnd() {
    return Ending([] { headless::RunUntil([] { return false; }); });
  }
  // Starts without an updater and lets the update run to its end, which may come while the
  // entry's own message loop still runs.
  std::optional<int> RunUpdate() {
    std::optional<int> ended = Start({});
    return ended ? ended : WaitForEnd();
  }
  int BarPosition() const {
    return ui::GetInt(refs::kUpdateProgressBar, ui::prop::processbar::kPosition);
  }
  bool BarReaches(int position) const {
    for (int wait = 0; wait < 1000 && BarPosition() != position; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return BarPosition() == position;
  }
  // The updater failed to arrive: nothing saved, the window closed, the program ended.
  void ExpectNothingSaved(std::optional<int> ended) {
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(folder_.Exists("up.qmz"));
    EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
    EXPECT_FALSE(shell::AppConfig) << "the exit routine ran";
  }

  LoopbackServer server_;
};

TEST_F(SelfUpdateTest, DownloadsSavesAndStartsTheUpdaterWhileTheBarMoves) {
  const std::string program = UpdaterProgram(5000);
  ServeList("garbage before [up]1.6|notes|" + server_.Address("/files/up.bin") + "[/up] after");
  server_.ServeInPieces(
      "/files/up.bin", "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n",
      {program.substr(0, 1024), program.substr(1024, 1024), program.substr(2048, 1024),
       program.substr(3072, 1024), program.substr(4096)});
  StartWithoutUpdater();
  EXPECT_EQ(headless::ViewWindow(names::kUpdateWindow).visible, true);

  for (int position : {2048, 4096, 6144, 8192, 10000}) {
    server_.ReleasePiece();
    EXPECT_TRUE(BarReaches(position)) << "bar at " << BarPosition() << ", not " << position;
  }
  EXPECT_EQ(WaitForEnd(), 0);

  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_FALSE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_EQ(server_.RequestLines(),
            (std::vector<std::string>{"GET /app/up/1.txt HTTP/1.1", "GET /files/up.bin HTTP/1.1"}));
  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(1);
  ASSERT_EQ(starts.size(), 1u) << "the saved updater runs";
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_EQ(ConfigValue("wm", "run"), "pt");
  EXPECT_EQ(ConfigValue("wm", "name"), "kesto");
}

TEST_F(SelfUpdateTest, WithoutAnnouncedSizeTheBarStaysAndTheWholeBodyIsSaved) {
  const std::string program = UpdaterProgram(3000);
  ServeList(ListNaming(server_.Address("/up.bin")));
  server_.ServeInPieces("/up.bin", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n",
                        {program.substr(0, 1024), program.substr(1024)});
  StartWithoutUpdater();
  server_.ReleasePiece();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(BarPosition(), 0);
  server_.ReleasePiece();
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

TEST_F(SelfUpdateTest, ClosingTheWindowByHandLetsTheDownloadFinish) {
  const std::string program = UpdaterProgram(2048);
  ServeList(ListNaming(server_.Address("/up.bin")));
  server_.ServeInPieces("/up.bin",
                        "HTTP/1.1 200 OK\r\nContent-Length: 2048\r\nConnection: close\r\n\r\n",
                        {program.substr(0, 1024), program.substr(1024)});
  StartWithoutUpdater();
  server_.ReleasePiece();
  ASSERT_TRUE(BarReaches(5000));
  ui::CloseWindow(names::kUpdateWindow);
  Drain();
  ASSERT_FALSE(headless::IsLoaded(names::kUpdateWindow));

  server_.ReleasePiece();
  EXPECT_EQ(WaitForEnd(), 0);
  EXPECT_EQ(folder_.Read("up.qmz"), program);
  for (const headless::MessageRecord& box : headless::MessageBoxes()) {
    EXPECT_EQ(box.text.find("运行时出错"), std::string::npos) << box.text;
  }
}

TEST_F(SelfUpdateTest, AListThatCannotBeFetchedDownloadsNothing) {
  net::OverrideUpdateListAddress("http://127.0.0.1:" + std::to_string(UnusedPort()) +
                                 "/app/up/1.txt");
  ExpectNothingSaved(RunUpdate());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(SelfUpdateTest, AListWithoutThreeFieldsDownloadsNothing) {
  const std::vector<std::string> lists{"no block at all", "x[up]a|b|c|d[/up]",
                                       "[up]1.6|" + server_.Address("/up.bin") + "[/up]",
                                       "[up]a|b|c"};
  for (const std::string& list : lists) {
    server_.Serve("/up.bin", UpdaterProgram(100));
    ServeList(list);
    ExpectNothingSaved(RunUpdate());
    headless::ResetAll();
  }
  for (const std::string& line : server_.RequestLines())
    EXPECT_EQ(line.find("up.bin"), std::string::npos);
}

TEST_F(SelfUpdateTest, AFailedEmptyOrCutShortDownloadSavesNothing) {
  const std::string unreachable = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/up.bin";
  ServeList(ListNaming(unreachable));
  ExpectNothingSaved(RunUpdate());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "不能打开该URL!");

  for (const std::string& response :
       {Response(""), "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" +
                          UpdaterProgram(3000)}) {
    headless::ResetAll();
    ServeList(ListNaming(server_.Address("/up.bin")));
    server_.ServeRaw("/up.bin", response);
    ExpectNothingSaved(RunUpdate());
  }
}

TEST(UpdaterAddressFromList, TakesTheThirdOfExactlyThreeFieldsOfTheFirstBlockAsItStands) {
  auto from = [](const std::string& text) {
    return net::UpdaterAddressFromList(Bytes(text.begin(), text.end()));
  };
  EXPECT_EQ(from("[up]1.6|notes|http://host/up.qmz[/up]"), "http://host/up.qmz");
  EXPECT_EQ(from("[up]\r\na|b|http://host/f\r\n[/up]"), "http://host/f\r\n");
  EXPECT_EQ(from("[up]a|b|first[/up][up]a|b|second[/up]"), "first");
  EXPECT_EQ(from("x[up]a|b|c|d[/up]"), "");
  EXPECT_EQ(from("[up]a|b|c|[/up]"), "c") << "a trailing separator adds no field";
  EXPECT_EQ(from("[up]a||c[/up]"), "c");
  EXPECT_EQ(from("[UP]a|b|c[/UP]"), "");
  EXPECT_EQ(from("[/up][up]a|b|c"), "");
  EXPECT_EQ(from(std::string("[up]a|b|c\0[/up]", 15)), "") << "the text ends at a zero byte";
}

TEST(UpdateListAddress, IsTheBuiltInUpdateServerUnlessATestPointsElsewhere) {
  net::OverrideUpdateListAddress("");
  EXPECT_EQ(net::UpdateListAddress(), "http://" + Text(settings::kUpdateHost) + ":" +
                                          ToText(settings::kUpdatePort) + "/app/up/1.txt");
}

}  // namespace
}  // namespace kesto::testing
