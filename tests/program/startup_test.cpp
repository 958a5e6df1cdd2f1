// The start-up sequence and its end states: running, handed over, duplicate (updating is in
// the self-update tests).
#include "shell/globals.h"
#include "tests/program/platform_fixture.h"
#include "tests/program/running_program.h"

namespace kesto::testing {
namespace {

using StartupTest = PlatformTest;

TEST_F(StartupTest, UpdaterStartRecordsTheWindowAndShowsTheComposedTitleAndInstalledApps) {
  WriteStandardRegFile();
  InstallUpdater();
  folder_.AddApp("", "memo", "备忘录", true);

  ASSERT_EQ(Start({"  -qmz "}), std::nullopt) << "blanks around the switch are trimmed";

  native::Handle main = ui::NativeHandle(refs::kMainWindow);
  EXPECT_EQ(ConfigValue("jb", "pt"), ToText(static_cast<int>(main)));
  EXPECT_EQ(ui::GetText(refs::kTitleLabel, ui::prop::translabel::kText),
            "「测试公司Kesto卖家必备应用平台 V1.6」 「官方客服QQ:」5551234 "
            "「官方网址:」www.test.example");
  EXPECT_EQ(ui::GetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress),
            "http://pay.test.example/buy");
  EXPECT_EQ(headless::Navigations(refs::kAdBrowser).back(), "http://ad.test.example/");
  EXPECT_EQ(ui::GetInt(refs::kMainWindow, ui::prop::kHeight), 658 - 15);
  ASSERT_TRUE(headless::TrayEntry());
  EXPECT_EQ(headless::TrayEntry()->tip, "Kesto应用平台V1.1");
  EXPECT_EQ(headless::TrayEntry()->icon, ui::GetBytes(refs::kMainWindow, ui::prop::window::kIcon));
  headless::FakeWindowState window = headless::FakeWindow(main);
  ASSERT_TRUE(window.outline);
  EXPECT_EQ(window.outline->radius, 5);
  EXPECT_EQ(window.outline->width, window.rect.right - window.rect.left - 1);
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(StartupTest, AnyOtherStartHandsOverToTheUpdaterBeforeAnyWindowAndEnds) {
  InstallUpdater();
  WriteStandardRegFile();
  native::Handle stale = headless::CreateFakeWindow();
  headless::DestroyFakeWindow(stale);
  RecordWindow("pt", stale);  // a recorded window that is gone does not count as running
  for (std::vector<std::string> args : {std::vector<std::string>{}, {"-QMZ"}, {"-qmz", "x"}}) {
    headless::ResetAll();
    EXPECT_EQ(Start(args), 0);
    EXPECT_EQ(ui::NativeHandle(refs::kMainWindow), 0) << "nothing to show, so no window";
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(headless::TrayEntry());
    EXPECT_FALSE(shell::AppConfig) << "the exit routine released the global state";
  }
  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(3);
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_TRUE(std::filesystem::equivalent(NativePath(starts[0].cwd), folder_.root()))
      << starts[0].cwd;
  EXPECT_EQ(starts[0].run, "pt");
  EXPECT_EQ(starts[0].name, "kesto");
}

TEST_F(StartupTest, ALiveRecordedPlatformWindowRefusesTheSecondStart) {
  WriteStandardRegFile();
  InstallUpdater();
  RunningProgram other = RunningProgram::ThisProgram();  // a second copy of this program
  native::Handle running = headless::CreateFakeWindow({.processId = other.pid()});
  headless::MinimiseFakeWindow(running);
  RecordWindow("pt", running);
  const std::string before = ConfigText();

  EXPECT_EQ(Start({"-qmz"}), 0);

  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "程序已打开，无须重复运行，点击右下角的图标即可");
  EXPECT_EQ(boxes[0].caption, "重复运行啦");
  EXPECT_EQ(boxes[0].flags & 0xFF, 0x40);
  EXPECT_FALSE(headless::FakeWindow(running).minimised);
  EXPECT_EQ(headless::ForegroundWindow(), running);
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_EQ(ConfigText(), before) << "the duplicate touches no configuration";
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(UpdaterStarts().empty());
}

// Window handles are reused: a stale "pt" may name this process's own window, another
// program's, or one whose owner cannot be told. None of them is a running platform.
TEST_F(StartupTest, AStalePlatformRecordNamingAnyOtherWindowDoesNotBlockTheStart) {
  InstallUpdater();
  RunningProgram tool = RunningProgram::CopyRunAs(folder_ / "app/memo.qmz");
  for (std::uint32_t owner : {CurrentProcessId(), tool.pid(), 0u}) {
    SCOPED_TRACE(owner);
    headless::ResetAll();
    native::Handle reused = headless::CreateFakeWindow({.processId = owner});
    RecordWindow("pt", reused);
    EXPECT_EQ(Start({"-qmz"}), std::nullopt);
    EXPECT_TRUE(headless::TrayEntry());
    EXPECT_TRUE(headless::FakeWindow(reused).actions.empty()) << "neither activated nor closed";
    shell::ReleaseGlobals();
  }
  headless::ResetAll();
  native::Handle own = headless::CreateFakeWindow({.processId = CurrentProcessId()});
  RecordWindow("pt", own);
  EXPECT_EQ(Start({}), 0) << "a user start hands over";
  EXPECT_TRUE(headless::FakeWindow(own).posted.empty()) << "its own window is not closed";
}

TEST_F(StartupTest, FirstUseAndAMissingInformationFileAreReportedAndTheStartGoesOn) {
  EXPECT_EQ(Start({"-qmz"}), std::nullopt);

  const Text lost = "你的平台信息不完整会影响你的正常使用，建议去官方重新下载完整版本";
  EXPECT_EQ(ui::GetText(refs::kTitleLabel, ui::prop::translabel::kText), lost + "「 文件丢失」");
  EXPECT_EQ(ui::GetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress), "");
  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, lost);
  EXPECT_EQ(boxes[0].caption, "文件丢失");
  EXPECT_EQ(boxes[0].flags & 0xFF, 0x10);
  EXPECT_EQ(boxes[1].text, "首次使用应用平台，请先选择你喜欢的应用进行添加");
  EXPECT_EQ(boxes[1].caption, "提示");
  EXPECT_EQ(boxes[1].flags & 0xFF, 0x40);
  EXPECT_EQ(CurrentPage(), refs::kCataloguePage);
  EXPECT_TRUE(headless::TrayEntry());
}

}  // namespace
}  // namespace kesto::testing
