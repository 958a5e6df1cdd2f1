// The main window's list, web panels, page buttons, refresh link and address box, on a
// platform started by the updater.
#include "shell/builtin_settings.h"
#include "shell/globals.h"
#include "tests/program/platform_fixture.h"

namespace kesto::testing {
namespace {

class MainWindowTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    WriteStandardRegFile();
    InstallUpdater();
    folder_.AddApp("", "memo", "备忘录", true);
    folder_.AddApp("", "clock", "时钟", true);
    ASSERT_EQ(Start({"-qmz"}), std::nullopt);
  }
  // The row of an application in the list.
  int RowOf(const Text& key) const {
    const auto& apps = shell::InstalledApps.Items();
    return static_cast<int>(std::find(apps.begin(), apps.end(), key) - apps.begin());
  }
  ui::EventResult Element(const ui::Ref& panel, int code, const Text& id, const Text& name) {
    return headless::FireElementEvent(panel, code, id, name);
  }
};

TEST_F(MainWindowTest, DoubleClickBringsALiveRecordedApplicationForwardInsteadOfStartingIt) {
  native::Handle memo = headless::CreateFakeWindow();
  headless::MinimiseFakeWindow(memo);
  RecordWindow("memo", memo);

  headless::DoubleClickRow(refs::kAppList, RowOf("memo"));

  EXPECT_EQ(headless::ForegroundWindow(), memo);
  EXPECT_FALSE(headless::FakeWindow(memo).minimised);
  EXPECT_EQ(headless::FakeWindow(memo).actions.back().action, headless::WindowAction::kBringToTop);
  EXPECT_EQ(CurrentPage(), refs::kLoadingPage);
  EXPECT_EQ(ConfigValue("wm", "run"), "");
}

TEST_F(MainWindowTest, DoubleClickStartsAnApplicationThroughTheUpdater) {
  native::Handle gone = headless::CreateFakeWindow();
  headless::DestroyFakeWindow(gone);
  RecordWindow("clock", gone);  // a stale record counts as none

  headless::DoubleClickRow(refs::kAppList, RowOf("clock"));

  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, "-qmz");
  EXPECT_EQ(starts[0].run, "clock");
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
}

TEST_F(MainWindowTest, DoubleClickWithoutASelectedApplicationStartsNothing) {
  headless::SelectRow(refs::kAppList, -1);
  headless::Fire(refs::kAppList, ui::Event::kItemActivated);

  EXPECT_EQ(ConfigValue("wm", "run"), "");
  EXPECT_NE(CurrentPage(), refs::kLoadingPage);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(UpdaterStarts().empty());
}

TEST_F(MainWindowTest, PanelsActOnClicksAndOnlyOnTheFirstPointerMove) {
  // The first pointer move over the side panel acts like a click.
  EXPECT_EQ(Element(refs::kSidePanel, ui::kEventMouseMove, "clock", "qmz"), false);
  ASSERT_EQ(WaitForUpdaterStarts(1).size(), 1u);
  EXPECT_EQ(UpdaterStarts()[0].run, "clock");

  // Later moves do nothing; the wheel goes on to the page; clicks act.
  EXPECT_EQ(Element(refs::kSidePanel, ui::kEventMouseMove, "memo", "qmz"), false);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventWheel, "memo", "qmz"), true);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "newapp", "qmz"), false);
  std::vector<UpdaterStart> starts = WaitForUpdaterStarts(2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1].run, "newapp");
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);

  // Elements without the command name, or with another case of it, do nothing.
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "memo", ""), false);
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "memo", "QMZ"), false);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(UpdaterStarts().size(), 2u);
}

TEST_F(MainWindowTest, AClickWhileAPanelActionRunsIsIgnored) {
  // The start's own event processing delivers the second click.
  std::optional<ui::EventResult> second;
  headless::Post([&] { second = Element(refs::kCataloguePanel, ui::kEventClick, "memo", "qmz"); });

  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "clock", "qmz"), false);

  ASSERT_TRUE(second);
  EXPECT_EQ(*second, std::nullopt) << "the busy panel leaves the event alone";
  EXPECT_EQ(ConfigValue("wm", "run"), "clock");
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(UpdaterStarts().size(), 1u);
  // Once the action is over, clicks act again.
  EXPECT_EQ(Element(refs::kCataloguePanel, ui::kEventClick, "memo", "qmz"), false);
  EXPECT_EQ(WaitForUpdaterStarts(2).size(), 2u);
}

TEST_F(MainWindowTest, KeysThatWouldReshapeTheConfigurationStartNothing) {
  const std::string before = ConfigText();
  for (const Text& key : {Text("evil\r\nname=other"), Text("a=b"), Text("[jb]"), Text(""),
                          Text("x\ny"), Text("nul\0byte", 8)}) {
    Element(refs::kCataloguePanel, ui::kEventClick, key, "qmz");
  }
  EXPECT_EQ(ConfigText(), before);
  // A two-byte character whose second byte is "[" is an ordinary name.
  const Text gbkName = "\x81\x5B";
  Element(refs::kCataloguePanel, ui::kEventClick, gbkName, "qmz");
  EXPECT_EQ(ConfigValue("wm", "run"), gbkName);
  ASSERT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

TEST_F(MainWindowTest, PurchaseElementOpensThePurchaseWindowOnlyFromTheCataloguePanel) {
  Element(refs::kSidePanel, ui::kEventClick, "", "qmzpay");
  EXPECT_FALSE(headless::IsLoaded(names::kPurchaseWindow));

  Element(refs::kCataloguePanel, ui::kEventClick, "", "qmzpay");
  ASSERT_TRUE(headless::IsLoaded(names::kPurchaseWindow));
  EXPECT_EQ(headless::Navigations(refs::kPurchaseBrowser).back(), "http://pay.test.example/buy");
}

TEST_F(MainWindowTest, CatalogueButtonLoadsTheCatalogueAndRearmsThePointerMove) {
  Element(refs::kCataloguePanel, ui::kEventMouseMove, "", "");  // the pointer has been seen

  headless::Fire({names::kMainWindow, "图形按钮3"}, ui::Event::kClicked);

  EXPECT_EQ(headless::Navigations(refs::kCataloguePanel).back(),
            "http://" + Text(settings::kWebHost) + "/app");
  EXPECT_EQ(headless::RefreshCount(refs::kCataloguePanel), 1);
  ASSERT_TRUE(headless::Focused());
  EXPECT_EQ(headless::Focused()->control, refs::kCataloguePanel.control);
  EXPECT_EQ(CurrentPage(), refs::kCataloguePage);
  Element(refs::kCataloguePanel, ui::kEventMouseMove, "memo", "qmz");
  EXPECT_EQ(WaitForUpdaterStarts(1).size(), 1u);
}

TEST_F(MainWindowTest, HomeButtonAndRefreshLinkShowTheApplicationsFoundNow) {
  headless::Fire({names::kMainWindow, "图形按钮3"}, ui::Event::kClicked);
  folder_.AddApp("new", "profit", "利润", false);

  headless::Fire({names::kMainWindow, "图形按钮4"}, ui::Event::kClicked);
  EXPECT_EQ(CurrentPage(), refs::kInstalledAppsPage);
  EXPECT_EQ(shell::InstalledApps.Items(), (std::vector<Text>{"profit", "clock", "memo"}));

  std::filesystem::remove_all(folder_ / "app/new");
  EXPECT_EQ(headless::PressLink({names::kMainWindow, "超级链接框1"}), std::nullopt);
  EXPECT_EQ(ui::ListItemCount(refs::kAppList), 2);
  EXPECT_TRUE(headless::OpenedLinks().empty()) << "the refresh link has no address to open";
}

TEST_F(MainWindowTest, EnterInTheAddressBoxNavigatesThePageBrowser) {
  ui::SetText(refs::kAddressBox, ui::prop::editbox::kContent, "http://example.test/page");
  size_t before = headless::Navigations(refs::kPageBrowser).size();
  headless::PressKey(refs::kAddressBox, 'A');
  EXPECT_EQ(headless::Navigations(refs::kPageBrowser).size(), before);
  headless::PressKey(refs::kAddressBox, 13);
  EXPECT_EQ(headless::Navigations(refs::kPageBrowser).back(), "http://example.test/page");
}

}  // namespace
}  // namespace kesto::testing
