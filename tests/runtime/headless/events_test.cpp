// Events reach the handlers their layouts bind, with their arguments and results; pop-up menus
// and the tray entry.
#include <gtest/gtest.h>

#include "headless_support.h"

namespace kesto {
namespace {

using testing::CalledHandlers;
using testing::Calls;
namespace prop = ui::prop;

const ui::Ref kMain{names::kMainWindow, ""};

class HeadlessEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::StartRecording();
    for (const char* w : {names::kMainWindow, names::kUpdateWindow, names::kPurchaseWindow}) {
      ui::LoadWindow(w);
    }
    Calls().clear();
  }
};

constexpr ui::Event kAllEvents[] = {
    ui::Event::kCreated,       ui::Event::kDestroying,     ui::Event::kTrayNotify,
    ui::Event::kClicked,       ui::Event::kLeftButtonDown, ui::Event::kKeyDown,
    ui::Event::kItemActivated, ui::Event::kElementEvent,   ui::Event::kMenuChosen};

TEST_F(HeadlessEvents, EachBoundEventReachesItsOperationAndNothingElse) {
  for (const char* window : {names::kMainWindow, names::kUpdateWindow, names::kPurchaseWindow}) {
    const ui::WindowLayout& layout = *ui::FindWindowLayout(window);
    std::vector<Text> sources = {"", names::kExitMenuItem};
    for (const ui::ControlLayout& c : layout.controls) sources.push_back(c.name);
    for (const Text& source : sources) {
      for (ui::Event event : kAllEvents) {
        Calls().clear();
        headless::Fire({window, source}, event);
        std::vector<Text> expected;
        for (const ui::EventBinding& b : layout.bindings) {
          if (b.control == source && b.event == event) expected.push_back(b.handler);
        }
        EXPECT_EQ(CalledHandlers(), expected) << window << " " << source << " " << int(event);
      }
    }
  }
}

TEST_F(HeadlessEvents, UnregisteredHandlerOrUnloadedWindowDoesNothing) {
  ui::RegisterHandler(names::kShowCatalogue, nullptr);
  EXPECT_EQ(headless::Fire({names::kMainWindow, "图形按钮3"}, ui::Event::kClicked), std::nullopt);
  ui::CloseWindow(names::kPurchaseWindow);
  ProcessEvents();
  EXPECT_EQ(headless::Fire({names::kPurchaseWindow, ""}, ui::Event::kCreated), std::nullopt);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(HeadlessEvents, ElementEventCarriesTheElementAndGivesTheHandlersResult) {
  testing::NextResult() = false;
  const ui::Ref panel{names::kMainWindow, "超文本界面框1"};
  EXPECT_EQ(headless::FireElementEvent(panel, ui::kEventClick, "tool7", "qmz"), false);
  ASSERT_EQ(Calls().size(), 1u);
  const ui::EventArgs& args = Calls()[0].args;
  EXPECT_EQ(args.a, -600);
  ui::Object element = ui::ObjectReadObject(args.object, "srcElement");
  EXPECT_EQ(ui::ObjectReadText(element, "ID"), "tool7");
  EXPECT_EQ(ui::ObjectReadText(element, "name"), "qmz");
  EXPECT_EQ(ui::ObjectReadText(element, "title"), "");
  testing::NextResult() = true;
  EXPECT_EQ(
      headless::FireElementEvent({names::kMainWindow, "超文本界面框2"}, ui::kEventWheel, "", ""),
      true);
  EXPECT_EQ(CalledHandlers().back(), names::kOnSidePanelEvent);
}

TEST_F(HeadlessEvents, LinkOpensItsAddressAfterTheHandlerUnlessStopped) {
  const ui::Ref buy{names::kMainWindow, "_自助购买"};
  const ui::Ref refresh{names::kMainWindow, "超级链接框1"};
  headless::PressLink(buy);  // no address yet: opens nothing
  ui::SetText(buy, prop::hyperlinker::kWebAddress, "http://pay.example/buy");
  headless::PressLink(buy);
  headless::PressLink(refresh, 5, 6, 1);  // the refresh link has no address of its own
  EXPECT_EQ(headless::OpenedLinks(), std::vector<Text>{"http://pay.example/buy"});
  EXPECT_EQ(CalledHandlers(), std::vector<Text>{names::kOnRefreshLinkPressed});
  EXPECT_EQ(Calls()[0].args.a, 5);
  EXPECT_EQ(Calls()[0].args.c, 1);
  ui::SetText(refresh, prop::hyperlinker::kWebAddress, "http://example/");
  testing::NextResult() = false;
  headless::PressLink(refresh);
  EXPECT_EQ(headless::OpenedLinks().size(), 1u);
}

TEST_F(HeadlessEvents, KeysAndRowActivationReachTheirHandlers) {
  headless::PressKey({names::kMainWindow, "编辑框1"}, 13);
  ASSERT_EQ(CalledHandlers(), std::vector<Text>{names::kOnAddressKeyDown});
  EXPECT_EQ(Calls()[0].args.a, 13);
  const ui::Ref list{names::kMainWindow, "超级列表框1"};
  ui::ListInsertItem(list, {}, "甲");
  ui::ListInsertItem(list, {}, "乙");
  headless::DoubleClickRow(list, 1);
  EXPECT_EQ(CalledHandlers().back(), names::kOnAppListActivated);
  EXPECT_EQ(ui::GetInt(list, prop::listview::kSelectedIndex), 1);
}

TEST_F(HeadlessEvents, ChosenMenuItemRunsAfterThePopupReturns) {
  headless::ChooseMenu(names::kExitMenuItem);
  ui::PopupMenu(names::kMainWindow, names::kTrayMenu);
  EXPECT_TRUE(Calls().empty());
  ProcessEvents();
  EXPECT_EQ(CalledHandlers(), std::vector<Text>{names::kOnExitChosen});
  // No choice queued, an explicit none, or an item the menu lacks: the menu closes quietly.
  headless::ChooseMenu(std::nullopt);
  headless::ChooseMenu("关于");
  for (int i = 0; i < 3; ++i) ui::PopupMenu(names::kMainWindow, names::kTrayMenu, 100, 200);
  ProcessEvents();
  EXPECT_EQ(Calls().size(), 1u);
  std::vector<headless::PopupRecord> popups = headless::Popups();
  ASSERT_EQ(popups.size(), 4u);
  EXPECT_EQ(popups[0].chosen, Text(names::kExitMenuItem));
  EXPECT_FALSE(popups[0].x);
  EXPECT_EQ(popups[3].x, 100);
  for (int i = 1; i < 4; ++i) EXPECT_FALSE(popups[i].chosen);
}

TEST_F(HeadlessEvents, TrayEntryIsAddedReplacedAndRemoved) {
  Bytes icon = ui::GetBytes(kMain, prop::window::kIcon);
  // Without an icon and without an entry nothing happens.
  ui::SetTrayIcon(names::kMainWindow);
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_EQ(headless::TrayNotify(1), std::nullopt);
  ui::SetTrayIcon(names::kMainWindow, icon, "Kesto应用平台V1.1");
  ui::SetTrayIcon(names::kMainWindow, icon, "另一个提示");
  ASSERT_TRUE(headless::TrayEntry());
  EXPECT_EQ(headless::TrayEntry()->adds, 1);
  EXPECT_EQ(headless::TrayEntry()->modifies, 1);
  EXPECT_EQ(headless::TrayEntry()->tip, "另一个提示");
  EXPECT_EQ(headless::TrayEntry()->icon, icon);
  headless::TrayNotify(3);
  ASSERT_EQ(CalledHandlers(), std::vector<Text>{names::kOnTrayNotify});
  EXPECT_EQ(Calls()[0].args.a, 3);
  ui::SetTrayIcon(names::kMainWindow);
  EXPECT_FALSE(headless::TrayEntry());
}

TEST_F(HeadlessEvents, TrayTipIsCutTo62BytesWithoutSplittingACharacter) {
  Bytes icon = ui::GetBytes(kMain, prop::window::kIcon);
  Text ascii(70, 'a');
  ui::SetTrayIcon(names::kMainWindow, icon, ascii);
  EXPECT_EQ(headless::TrayEntry()->tip, Text(62, 'a'));
  // One byte, then two-byte characters: the 31st character would end at byte 63.
  Text mixed = "a" + Text();
  for (int i = 0; i < 40; ++i) mixed += "汉";
  ui::SetTrayIcon(names::kMainWindow, icon, mixed);
  EXPECT_EQ(headless::TrayEntry()->tip.size(), 61u);
  EXPECT_EQ(headless::TrayEntry()->tip, mixed.substr(0, 61));
}

TEST_F(HeadlessEvents, TrayEntryGoesWithItsWindow) {
  ui::SetTrayIcon(names::kMainWindow, ui::GetBytes(kMain, prop::window::kIcon), "提示");
  ui::CloseWindow(names::kMainWindow);
  ProcessEvents();
  EXPECT_FALSE(headless::TrayEntry());
  EXPECT_EQ(CalledHandlers(), std::vector<Text>{names::kOnMainWindowDestroying});
}

}  // namespace
}  // namespace kesto
