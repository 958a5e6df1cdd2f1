// The main window's list, web panels, page buttons, refresh link and address box.
#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "tests/program/platform_fixture.h"
#include "tests/program/running_program.h"

namespace kesto::testing {
namespace {

class MainWindowTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    InstallUpdater();
    folder_.AddApp("", "clock", "时钟", true);   // row 0
    folder_.AddApp("", "memo", "备忘录", true);  // row 1
    ASSERT_EQ(Start({"-qmz"}), std::nullopt);
  }
  ui::EventResult Element(const ui::Ref& panel, int code, const Text& id, const Text& name) {
    return headless::FireElementEvent(panel, code, id, name);
  }
  // The run targets the updater was started for, after a moment for late starts.
  std::vector<std::string> RunTargets(std::size_t expected) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::vector<std::string> runs;
    for (const UpdaterStart& start : WaitForUpdaterStarts(expected)) runs.push_back(start.run);
    return runs;
  }
};

TEST_F(MainWindowTest, DoubleClickActivatesALiveRecordedApplicationOrStartsItThroughTheUpdater) {
  RunningProgram memoProgram = RunningProgram::CopyRunAs(folder_ / "app/memo.qmz");
  native::Handle memo = headless::CreateFakeWindow({.processId = memoProgram.pid()});
  headless::MinimiseFakeWindow(memo);
  RecordWindow("memo", memo);
  headless::DoubleClickRow(refs::kAppList, 1);
  EXPECT_EQ(headless::ForegroundWindow(), memo);
  EXPECT_FALSE(headless::FakeWindow(memo).minimised);
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage) << "the loading page is not left standing";
  EXPECT_EQ(ConfigValue("wm", "run"), "");

  headless::SelectRow(refs::kAppList, -1);
  headless::Fire(refs::kAppList, ui::Event::kItemActivated);
  EXPECT_EQ(ConfigValue("wm", "run"), "") << "no selected row starts nothing";

  headless::DoubleClickRow(refs::kAppList, 0);
  EXPECT_EQ(RunTargets(1), std::vector<std::string>{"clock"});
  EXPECT_EQ(UpdaterStarts()[0].args, "-qmz");
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
}

// Handles are reused: a record naming another program's window is no record. That window is
// left alone and the application is started.
TEST_F(MainWindowTest, ARecordNamingAnotherProgramsWindowStartsTheApplication) {
  RunningProgram stranger = RunningProgram::CopyRunAs(folder_ / "elsewhere/editor");
  native::Handle reused = headless::CreateFakeWindow({.processId = stranger.pid()});
  headless::MinimiseFakeWindow(reused);
  RecordWindow("clock", reused);
  headless::DoubleClickRow(refs::kAppList, 0);
  EXPECT_EQ(RunTargets(1), std::vector<std::string>{"clock"});
  EXPECT_TRUE(headless::FakeWindow(reused).actions.empty());
  EXPECT_EQ(headless::ForegroundWindow(), 0);
  EXPECT_EQ(ConfigValue("jb", "clock"), ToText(static_cast<int>(reused))) << "the record stays";
}

TEST_F(MainWindowTest, PanelsActOnClicksAndOnTheFirstPointerMoveOnly) {
  // The updater reads its target when it runs, so each start is awaited before the next.
  EXPECT_EQ(Element(refs::kSidePanel, ui::kEventMouseMove, "clock", "qmz"), false);
  EXPECT_EQ(RunTargets(1), std::vector<std::string>{"clock"});
  EXPECT_EQ(Element(refs::kSidePanel, ui::kEventMouseMove, "memo", "qmz"), false);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventWheel, "memo", "qmz"), true);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "memo", "QMZ"), false);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "newapp", "qmz"), false);
  EXPECT_EQ(RunTargets(2), (std::vector<std::string>{"clock", "newapp"}));

  // The catalogue button loads "/app", and the next pointer move acts again.
  headless::Fire({names::kMainWindow, "图形按钮3"}, ui::Event::kClicked);
  EXPECT_EQ(headless::Navigations(refs::kCataloguePanel).back(),
            "http://" + Text(settings::kWebHost) + "/app");
  EXPECT_EQ(headless::RefreshCount(refs::kCataloguePanel), 1);
  EXPECT_EQ(headless::Focused()->control, refs::kCataloguePanel.control);
  EXPECT_EQ(CurrentPage(), refs::kCataloguePage);
  Element(refs::kCataloguePanel, ui::kEventMouseMove, "memo", "qmz");
  EXPECT_EQ(RunTargets(3), (std::vector<std::string>{"clock", "newapp", "memo"}));
}

TEST_F(MainWindowTest, AClickWhileAPanelActionRunsIsIgnored) {
  // The start's own event processing delivers the second click.
  std::optional<ui::EventResult> second;
  headless::Post([&] { second = Element(refs::kCataloguePanel, ui::kEventClick, "memo", "qmz"); });
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "clock", "qmz"), false);
  ASSERT_TRUE(second);
  EXPECT_EQ(*second, std::nullopt);
  EXPECT_EQ(RunTargets(1), std::vector<std::string>{"clock"});
}

TEST_F(MainWindowTest, KeysThatWouldReshapeTheConfigurationStartNothing) {
  const std::string before = ConfigText();
  // The last is longer than the profile calls take: writing it would fail and leave the run
  // target written before it for the updater.
  for (const Text& key : {Text("evil\r\nname=other"), Text("a=b"), Text("[jb]"), Text(""),
                          Text("nul\0byte", 8), Text(32767, 'k')}) {
    Element(refs::kCataloguePanel, ui::kEventClick, key, "qmz");
  }
  EXPECT_EQ(ConfigText(), before);
  // A two-byte character whose second byte is "[" is an ordinary name.
  Element(refs::kCataloguePanel, ui::kEventClick, "\x81\x5B", "qmz");
  EXPECT_EQ(RunTargets(1), std::vector<std::string>{"\x81\x5B"});
}

// Texts a hostile page can give its elements: whatever a click writes stays one "run=" line,
// so the configuration keeps its sections and keys, and nothing breaks.
TEST_F(MainWindowTest, HostileElementTextsAddNoKeyOrSection) {
  auto lines = [this] {
    std::vector<std::string> found;
    std::string text = ConfigText();
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
      end = std::min(text.find('\n', at), text.size());
      const std::string line = text.substr(at, end - at);
      if (line.rfind("run=", 0) != 0) found.push_back(line);
    }
    return found;
  };
  // An ordinary click first, so that the section the run target lives in is there.
  Element(refs::kCataloguePanel, ui::kEventClick, "memo", "qmz");
  const std::vector<std::string> before = lines();
  const Text hostile[] = {
      Text(100000, 'k'),
      "ctl\x01\x02\t\x1f",
      R"(say "hi" \ 'there')",
      "\x81",
      "a\xFF\xFE",
      "key\x81\r\nsection",
      ";comment",
      "  blanks  ",
      "?",
      "中\x81]",
  };
  for (const Text& key : hostile) {
    for (const Text& name : {Text("qmz"), key}) {
      Element(refs::kCataloguePanel, ui::kEventClick, key, name);
      Element(refs::kSidePanel, ui::kEventMouseMove, key, name);
    }
    EXPECT_EQ(lines(), before) << key.substr(0, 40);
  }
}

TEST_F(MainWindowTest, HomeButtonRefreshLinkAndAddressBox) {
  folder_.AddApp("new", "profit", "利润", false);
  headless::Fire({names::kMainWindow, "图形按钮4"}, ui::Event::kClicked);
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
  EXPECT_EQ(shell::InstalledApps.Items(), (std::vector<Text>{"profit", "clock", "memo"}));

  std::filesystem::remove_all(folder_ / "app/new");
  EXPECT_EQ(headless::PressLink({names::kMainWindow, "超级链接框1"}), std::nullopt);
  EXPECT_EQ(ui::ListItemCount(refs::kAppList), 2);

  ui::SetText(refs::kAddressBox, ui::prop::editbox::kContent, "http://example.test/page");
  std::size_t before = headless::Navigations(refs::kPageBrowser).size();
  headless::PressKey(refs::kAddressBox, 'A');
  EXPECT_EQ(headless::Navigations(refs::kPageBrowser).size(), before);
  headless::PressKey(refs::kAddressBox, 13);
  EXPECT_EQ(headless::Navigations(refs::kPageBrowser).back(), "http://example.test/page");
}

}  // namespace
}  // namespace kesto::testing
