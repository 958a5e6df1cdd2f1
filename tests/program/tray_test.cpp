// The tray icon: hiding to it, restoring from it, its menu, and the confirmed exit that asks
// every recorded program to close.
#include "shell/globals.h"
#include "tests/program/platform_fixture.h"
#include "tests/program/running_program.h"

namespace kesto::testing {
namespace {

class TrayTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    folder_.AddApp("", "memo", "备忘录", false);
    ASSERT_EQ(Start({"-qmz"}), std::nullopt);
    main_ = ui::NativeHandle(refs::kMainWindow);
  }
  void HideToTray() { headless::Fire({names::kMainWindow, "图形按钮2"}, ui::Event::kClicked); }
  // Picks the exit item from the tray menu, answering the confirmation with `answer`.
  std::optional<int> ChooseExit(int answer) {
    headless::QueueAnswer(answer);
    headless::ChooseMenu(Text(names::kExitMenuItem));
    headless::TrayNotify(3);
    return Drain();
  }
  native::Handle main_ = 0;
};

TEST_F(TrayTest, HiddenWindowKeepsItsIconShowsTheMenuAndComesBackOnAClick) {
  for (int code : {1, 2}) {
    HideToTray();
    ui::SetInt(refs::kPages, ui::prop::tab::kCurrentPage, refs::kCataloguePage);
    headless::TrayNotify(3);
    EXPECT_FALSE(headless::ViewWindow(names::kMainWindow).visible) << "the menu shows no window";
    EXPECT_EQ(headless::Popups().back().menu, names::kTrayMenu);

    headless::TrayNotify(code);
    headless::WindowView view = headless::ViewWindow(names::kMainWindow);
    EXPECT_TRUE(view.visible);
    EXPECT_FALSE(view.minimised);
    EXPECT_EQ(view.left, (headless::kScreenWidth - view.width) / 2);
    EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
    EXPECT_EQ(headless::ForegroundWindow(), main_);
  }
  headless::SetTrayAvailable(false);
  HideToTray();
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).visible) << "no tray: minimised instead";
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).minimised);
}

TEST_F(TrayTest, CancelledExitLeavesEverythingRunning) {
  native::Handle memo = headless::CreateFakeWindow();
  RecordWindow("memo", memo);
  EXPECT_EQ(ChooseExit(kIdCancel), std::nullopt);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text,
            "你确定要退出平台？退出平台后所有平台软件将会一同退出!");
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "平台退出提示");
  EXPECT_EQ(headless::MessageBoxes()[0].flags & 0xFF, 0x41);
  EXPECT_TRUE(headless::FakeWindow(memo).posted.empty());
  EXPECT_TRUE(headless::TrayEntry());
}

TEST_F(TrayTest, ConfirmedExitAsksEveryRecordedProgramsWindowToCloseAndEnds) {
  RunningProgram memoProgram = RunningProgram::CopyRunAs(folder_ / "app/memo.qmz");
  RunningProgram stubbornProgram = RunningProgram::CopyRunAs(folder_ / "app/x/stubborn.qmz");
  RunningProgram stranger = RunningProgram::CopyRunAs(folder_ / "elsewhere/editor");
  native::Handle memo = headless::CreateFakeWindow({.processId = memoProgram.pid()});
  native::Handle stubborn = headless::CreateFakeWindow({.processId = stubbornProgram.pid()});
  native::Handle unrelated = headless::CreateFakeWindow({.processId = stranger.pid()});
  headless::SetFakeWindowIgnoresClose(stubborn, true);
  RecordWindow("memo", memo);
  RecordWindow("stubborn", stubborn);
  RecordWindow("editor", unrelated);
  WriteIniValue(CurrentDirectory() + "\\qmztx.ini", "jb", "junk", "not a number");
  HideToTray();

  EXPECT_EQ(ChooseExit(kIdOk), 0);

  EXPECT_FALSE(native::IsWindow(memo));
  EXPECT_TRUE(native::IsWindow(stubborn)) << "a program that ignores the request stays";
  EXPECT_EQ(headless::FakeWindow(stubborn).posted.size(), 1u);
  EXPECT_TRUE(headless::FakeWindow(unrelated).posted.empty()) << "a reused handle is no record";
  EXPECT_TRUE(headless::FakeWindow(main_).posted.empty()) << "the platform ends with its process";
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_FALSE(shell::AppConfig) << "the exit routine released the global state";
}

TEST_F(TrayTest, ClosingTheMainWindowRemovesTheIcon) {
  ui::CloseWindow(names::kMainWindow);
  Drain();
  EXPECT_FALSE(headless::TrayEntry());
}

}  // namespace
}  // namespace kesto::testing
