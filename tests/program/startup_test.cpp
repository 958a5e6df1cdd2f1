// The start-up sequence and its four end states: duplicate, handed over, updating, running.
#include "shell/startup.h"

#include "shell/globals.h"
#include "tests/program/platform_fixture.h"

namespace kesto::testing {
namespace {

constexpr char kTrayTip[] = "Kesto应用平台V1.1";
constexpr int kLayoutHeight = 658;

using StartupTest = PlatformTest;

TEST_F(StartupTest, UpdaterStartRecordsTheWindowAndShowsTheComposedTitleAndInstalledApps) {
  WriteStandardRegFile();
  InstallUpdater();
  folder_.AddApp("", "memo", "备忘录", true);

  ASSERT_EQ(Start({"-qmz"}), std::nullopt);

  native::Handle main = ui::NativeHandle(refs::kMainWindow);
  EXPECT_EQ(ConfigValue("jb", "pt"), ToText(static_cast<int>(main)));
  EXPECT_EQ(ui::GetText(refs::kTitleLabel, ui::prop::translabel::kText),
            "「测试公司Kesto卖家必备应用平台 V1.6」 「官方客服QQ:」5551234 "
            "「官方网址:」www.test.example");
  EXPECT_EQ(ui::GetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress),
            "http://pay.test.example/buy");
  EXPECT_EQ(headless::Navigations(refs::kAdBrowser).back(), "http://ad.test.example/");
  EXPECT_EQ(ui::GetInt(refs::kMainWindow, ui::prop::kHeight), kLayoutHeight - 15);

  std::optional<headless::TrayView> tray = headless::TrayEntry();
  ASSERT_TRUE(tray);
  EXPECT_EQ(tray->tip, kTrayTip);
  EXPECT_EQ(tray->icon, ui::GetBytes(refs::kMainWindow, ui::prop::window::kIcon));
  EXPECT_FALSE(tray->icon.empty());

  headless::FakeWindowState outline = headless::FakeWindow(main);
  ASSERT_TRUE(outline.outline);
  EXPECT_EQ(outline.outline->radius, 5);
  EXPECT_EQ(outline.outline->width, outline.rect.right - outline.rect.left - 1);
  EXPECT_EQ(outline.outline->height, outline.rect.bottom - outline.rect.top - 1);

  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(StartupTest, UserStartHandsOverToTheUpdaterAndEnds) {
  WriteStandardRegFile();
  InstallUpdater();

  EXPECT_EQ(Start({}), 0);

  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_EQ(starts[0].cwd, folder_.root().string());
  EXPECT_EQ(starts[0].run, "pt");
  EXPECT_EQ(starts[0].name, "kesto");
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_FALSE(shell::AppConfig) << "the exit routine released the global state";
}

TEST_F(StartupTest, OnlyTheBareSwitchCountsAsAStartByTheUpdater) {
  InstallUpdater();
  EXPECT_EQ(Start({"  -qmz  "}), std::nullopt) << "blanks around the switch are trimmed";
  headless::ResetAll();
  shell::ReleaseGlobals();

  EXPECT_EQ(Start({"-QMZ"}), 0);
  headless::ResetAll();
  EXPECT_EQ(Start({"-qmz", "extra"}), 0);
  EXPECT_EQ(WaitForUpdaterStarts(2).size(), 2u);
}

TEST_F(StartupTest, ALiveRecordedPlatformWindowRefusesTheSecondStart) {
  WriteStandardRegFile();
  InstallUpdater();
  native::Handle running = headless::CreateFakeWindow();
  headless::MinimiseFakeWindow(running);
  RecordWindow("pt", running);
  const std::string before = ConfigText();

  EXPECT_EQ(Start({"-qmz"}), 0);

  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "程序已打开，无须重复运行，点击右下角的图标即可");
  EXPECT_EQ(boxes[0].caption, "重复运行啦");
  EXPECT_EQ(boxes[0].flags & 0xFF, 0x40);
  headless::FakeWindowState window = headless::FakeWindow(running);
  EXPECT_FALSE(window.minimised);
  EXPECT_EQ(headless::ForegroundWindow(), running);
  ASSERT_FALSE(window.actions.empty());
  EXPECT_EQ(window.actions.back().action, headless::WindowAction::kBringToTop);
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_EQ(ConfigText(), before) << "the duplicate touches no configuration";
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(StartupTest, AStaleRecordDoesNotBlockTheStart) {
  native::Handle gone = headless::CreateFakeWindow();
  headless::DestroyFakeWindow(gone);
  RecordWindow("pt", gone);
  folder_.AddApp("", "memo", "", false);
  EXPECT_EQ(Start({"-qmz"}), std::nullopt);
  EXPECT_EQ(ConfigValue("jb", "pt"), ToText(static_cast<int>(ui::NativeHandle(refs::kMainWindow))));
}

TEST_F(StartupTest, FirstUseShowsTheCataloguePageWithAPrompt) {
  WriteStandardRegFile();
  EXPECT_EQ(Start({"-qmz"}), std::nullopt);
  EXPECT_EQ(CurrentPage(), refs::kCataloguePage);
  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "首次使用应用平台，请先选择你喜欢的应用进行添加");
  EXPECT_EQ(boxes[0].caption, "提示");
  EXPECT_EQ(boxes[0].flags & 0xFF, 0x40);
}

TEST_F(StartupTest, AMissingInformationFileIsReportedAndTheStartGoesOn) {
  folder_.AddApp("", "memo", "", false);
  EXPECT_EQ(Start({"-qmz"}), std::nullopt);
  const Text lost = "你的平台信息不完整会影响你的正常使用，建议去官方重新下载完整版本";
  EXPECT_EQ(ui::GetText(refs::kTitleLabel, ui::prop::translabel::kText), lost + "「 文件丢失」");
  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, lost);
  EXPECT_EQ(boxes[0].caption, "文件丢失");
  EXPECT_EQ(boxes[0].flags & 0xFF, 0x10);
  EXPECT_EQ(ui::GetText(refs::kPurchaseLink, ui::prop::hyperlinker::kWebAddress), "");
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
  EXPECT_TRUE(headless::TrayEntry());
}

TEST(JoinCommandLine, PrefixesEveryArgumentWithOneBlank) {
  char program[] = "/tmp/kesto";
  char first[] = "-qmz";
  char second[] = "two words";
  char* argv[] = {program, first, second, nullptr};
  TempProgramFolder folder;
  RuntimeStart(3, argv);
  EXPECT_EQ(shell::JoinCommandLine(), " -qmz two words");
}

}  // namespace
}  // namespace kesto::testing
