// The three windows as designed: every control where the design puts it, containers that
// exist, bindings to the named operations, and artwork of the described sizes.
#include <gtest/gtest.h>

#include <set>

#include "layouts/names.h"
#include "runtime/image/icon_file.h"
#include "runtime/image/picture.h"
#include "runtime/layout.h"
#include "shell/builtin_settings.h"

namespace kesto {
namespace {

using ui::ControlType;
using T = ControlType;

const ui::ControlLayout* FindControl(const ui::WindowLayout& w, const Text& name) {
  for (const ui::ControlLayout& c : w.controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

int IndexOf(const ui::WindowLayout& w, const Text& name) {
  for (std::size_t i = 0; i < w.controls.size(); ++i) {
    if (w.controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

struct Placed {
  const char* name;
  ControlType type;
  const char* container;
  int page;
  int left, top, width, height;
};

// Every control of the main window, transcribed from the design independently of the tables.
const Placed kMainControls[] = {
    {"图形按钮3", T::kPicBtn, "", -1, 819, 47, 202, 78},
    {"_自助购买", T::kHyperLinker, "", -1, 898, 17, 73, 23},
    {"图片框5", T::kPicBox, "", -1, 819, 127, 202, 73},
    {"选择夹1", T::kTab, "", -1, 0, 47, 812, 588},
    {"图片框2", T::kPicBox, "", -1, 819, 193, 207, 431},
    {"_标题", T::kTransLabel, "", -1, 16, 8, 832, 32},
    {"图形按钮2", T::kPicBtn, "", -1, 979, 1, 44, 43},
    {"图形按钮1", T::kPicBtn, "", -1, 977, 49, 45, 43},
    {"标签1", T::kLabel, "", -1, 0, 0, 1028, 45},
    {"超文本界面框2", T::kWebUIControl, "图片框2", -1, -11, -9, 258, 474},
    {"超文本浏览框1", T::kHtmlViewer, "选择夹1", 0, 8, 43, 804, 527},
    {"按钮1", T::kButton, "选择夹1", 0, 825, 8, 72, 32},
    {"编辑框1", T::kEditBox, "选择夹1", 0, 8, 9, 809, 32},
    {"图形按钮4", T::kPicBtn, "选择夹1", 2, 728, 0, 83, 31},
    {"透明标签2", T::kTransLabel, "选择夹1", 2, 16, 4, 382, 22},
    {"标签2", T::kLabel, "选择夹1", 2, 0, 0, 833, 32},
    {"超文本界面框1", T::kWebUIControl, "选择夹1", 2, -2, 25, 830, 542},
    {"图片框3", T::kPicBox, "选择夹1", 3, 10, 2, 814, 87},
    {"_广告", T::kHtmlViewer, "图片框3", -1, -3, -5, 838, 93},
    {"图片框1", T::kPicBox, "选择夹1", 3, 11, 87, 811, 494},
    {"超级链接框1", T::kHyperLinker, "图片框1", -1, 753, 3, 46, 32},
    {"标签5", T::kLabel, "图片框1", -1, 452, 8, 278, 24},
    {"标签4", T::kLabel, "图片框1", -1, -2, 0, 755, 36},
    {"超级列表框1", T::kListView, "图片框1", -1, -1, 51, 810, 435},
    {"标签3", T::kLabel, "选择夹1", 4, 113, 200, 560, 136},
};

void ExpectPlaced(const ui::WindowLayout& w, const Placed& p) {
  SCOPED_TRACE(p.name);
  const ui::ControlLayout* c = FindControl(w, p.name);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->type, p.type);
  EXPECT_EQ(c->container, p.container);
  EXPECT_EQ(c->page, p.page);
  EXPECT_EQ(c->left, p.left);
  EXPECT_EQ(c->top, p.top);
  EXPECT_EQ(c->width, p.width);
  EXPECT_EQ(c->height, p.height);
}

TEST(MainWindowLayout, HoldsEveryControlWhereTheDesignPutsIt) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->controls.size(), std::size(kMainControls));
  for (const Placed& p : kMainControls) ExpectPlaced(*w, p);
  EXPECT_EQ(w->title, "Kesto应用平台");
  EXPECT_EQ(w->width, 1024);
  EXPECT_EQ(w->height, 658);
  EXPECT_EQ(w->border, ui::Border::kNone);
  EXPECT_TRUE(w->centred);
  EXPECT_FALSE(w->topmost);
  EXPECT_EQ(w->backColour, 0xFFFFFFu);
}

TEST(MainWindowLayout, ContainersComeFirstAndPagesExist) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  std::set<Text> names;
  for (const ui::ControlLayout& c : w->controls) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(names.insert(c.name).second) << "name given twice";
    if (c.container.empty()) continue;
    int at = IndexOf(*w, c.container);
    ASSERT_GE(at, 0);
    EXPECT_LT(at, IndexOf(*w, c.name));
    const ui::ControlLayout& holder = w->controls[at];
    ASSERT_TRUE(holder.type == T::kPicBox || holder.type == T::kTab);
    if (holder.type == T::kTab) {
      EXPECT_GE(c.page, 0);
      EXPECT_LT(c.page, holder.pageCount);
    }
  }
}

TEST(MainWindowLayout, StacksTheBannerBelowTheTitleBarControls) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  int banner = IndexOf(*w, "标签1");
  for (const char* above : {"_标题", "图形按钮2", "_自助购买"}) {
    EXPECT_LT(IndexOf(*w, above), banner) << above;
  }
  EXPECT_LT(IndexOf(*w, "透明标签2"), IndexOf(*w, "标签2"));
  EXPECT_LT(IndexOf(*w, "标签5"), IndexOf(*w, "标签4"));
}

TEST(MainWindowLayout, PageContainerHidesItsTabsAndStartsOnPageZero) {
  const ui::ControlLayout* tab = FindControl(*ui::FindWindowLayout(names::kMainWindow), "选择夹1");
  EXPECT_EQ(tab->pageCount, 5);
  EXPECT_EQ(tab->currentPage, 0);
  EXPECT_FALSE(tab->showTabs);
}

TEST(MainWindowLayout, TextsTheProgramReadsOrTheUserSees) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  const ui::ControlLayout* title = FindControl(*w, "_标题");
  EXPECT_EQ(title->text, "Kesto卖家必备应用平台 V1.6");
  EXPECT_TRUE(title->disabled);
  EXPECT_FALSE(FindControl(*w, "图形按钮1")->visible);
  EXPECT_EQ(FindControl(*w, "标签4")->text,
            "    亲 你的已安装的应用双击可直接启动 | 想退出平台，右击右下角的托盘图标 ");
  EXPECT_EQ(FindControl(*w, "标签3")->text,
            "正在加载应用...\r\n\r\n如没有弹出应用可能是你的杀毒软件或者防火墙拦截请关闭后重试");
  EXPECT_EQ(FindControl(*w, "超文本浏览框1")->text, "blank");
  EXPECT_TRUE(FindControl(*w, "_广告")->text.empty());
  Text site = Text("http://") + settings::kWebHost;
  EXPECT_EQ(FindControl(*w, "超文本界面框2")->text, site + "/topapp");
  EXPECT_EQ(FindControl(*w, "超文本界面框1")->text, site + "/csapp");
  const ui::ControlLayout* list = FindControl(*w, "超级列表框1");
  EXPECT_EQ(list->imageWidth, 155);
  EXPECT_EQ(list->imageHeight, 140);
}

TEST(MainWindowLayout, TrayMenuIsAHiddenItemWithTheExitItem) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  ASSERT_EQ(w->menus.size(), 1u);
  EXPECT_EQ(w->menus[0].name, names::kTrayMenu);
  EXPECT_FALSE(w->menus[0].visible);
  ASSERT_EQ(w->menus[0].children.size(), 1u);
  EXPECT_EQ(w->menus[0].children[0].name, names::kExitMenuItem);
  EXPECT_TRUE(w->menus[0].children[0].children.empty());
}

// Width, height and bits per pixel of a BMP file.
struct BmpShape {
  int width, height, bits;
};
BmpShape ShapeOf(const ui::Picture& p) {
  auto u16 = [&](int at) { return p.data[at] | (p.data[at + 1] << 8); };
  return {u16(18), u16(22), u16(28)};
}

TEST(MainWindowLayout, PictureButtonsCarryTwoPicturesOfTheDescribedSize) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  struct Expected {
    const char* name;
    int width, height;
  } buttons[] = {
      {"图形按钮3", 211, 82}, {"图形按钮2", 44, 43}, {"图形按钮1", 45, 43}, {"图形按钮4", 84, 31}};
  for (const Expected& e : buttons) {
    SCOPED_TRACE(e.name);
    const ui::ControlLayout* button = FindControl(*w, e.name);
    ASSERT_EQ(button->pictures.size(), 2u);
    for (const ui::Picture& picture : button->pictures) {
      ASSERT_GE(picture.size, 54u);
      EXPECT_EQ(picture.data[0], 'B');
      BmpShape shape = ShapeOf(picture);
      EXPECT_EQ(shape.width, e.width);
      EXPECT_EQ(shape.height, e.height);
      EXPECT_EQ(shape.bits, 24);
      EXPECT_TRUE(image::DecodePicture(picture.ToBytes()));
    }
    // The pointer-over picture differs from the normal one.
    EXPECT_NE(button->pictures[0].ToBytes(), button->pictures[1].ToBytes());
  }
}

TEST(MainWindowLayout, NoteIsAJpegAndTheIconHasItsEightImages) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kMainWindow);
  const ui::ControlLayout* box = FindControl(*w, "图片框5");
  ASSERT_EQ(box->pictures.size(), 1u);
  auto note = image::DecodeJpeg(box->pictures[0].ToBytes());
  ASSERT_TRUE(note);
  EXPECT_EQ(note->width, 289);
  EXPECT_EQ(note->height, 100);
  EXPECT_EQ(image::DecodeIconImages(w->icon.ToBytes()).size(), 8u);
}

struct Bound {
  const char* control;
  ui::Event event;
  const char* handler;
};

std::vector<Bound> BindingsOf(const char* window) {
  std::vector<Bound> out;
  for (const ui::EventBinding& b : ui::FindWindowLayout(window)->bindings) {
    out.push_back({b.control.c_str(), b.event, b.handler.c_str()});
  }
  return out;
}

void ExpectBindings(const char* window, const std::vector<Bound>& expected) {
  std::vector<Bound> actual = BindingsOf(window);
  ASSERT_EQ(actual.size(), expected.size());
  for (const Bound& e : expected) {
    int found = 0;
    for (const Bound& a : actual) {
      found += Text(a.control) == e.control && a.event == e.event && Text(a.handler) == e.handler;
    }
    EXPECT_EQ(found, 1) << e.control << " -> " << e.handler;
  }
}

TEST(WindowLayouts, BindEachEventToItsOperationAndNothingElse) {
  using E = ui::Event;
  ExpectBindings(names::kMainWindow,
                 {{"", E::kCreated, names::kOnMainWindowCreated},
                  {"", E::kDestroying, names::kOnMainWindowDestroying},
                  {"", E::kTrayNotify, names::kOnTrayNotify},
                  {"图形按钮3", E::kClicked, names::kShowCatalogue},
                  {"超文本界面框2", E::kElementEvent, names::kOnSidePanelEvent},
                  {"超级链接框1", E::kLeftButtonDown, names::kOnRefreshLinkPressed},
                  {"图形按钮4", E::kClicked, names::kShowInstalledApps},
                  {"超级列表框1", E::kItemActivated, names::kOnAppListActivated},
                  {"超文本界面框1", E::kElementEvent, names::kOnCataloguePanelEvent},
                  {names::kExitMenuItem, E::kMenuChosen, names::kOnExitChosen},
                  {"编辑框1", E::kKeyDown, names::kOnAddressKeyDown},
                  {"图形按钮2", E::kClicked, names::kHideToTray},
                  {"图形按钮1", E::kClicked, names::kHideToTray}});
  ExpectBindings(names::kUpdateWindow, {{"", E::kCreated, names::kOnUpdateWindowCreated}});
  ExpectBindings(names::kPurchaseWindow, {{"", E::kCreated, names::kOnPurchaseWindowCreated}});
}

TEST(SecondaryWindowLayouts, UpdateWindowStaysOnTopWithItsLabelAndBar) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kUpdateWindow);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->title, "正在更新程序必备文件");
  EXPECT_EQ(w->width, 357);
  EXPECT_EQ(w->height, 168);
  EXPECT_EQ(w->border, ui::Border::kFixedSingle);
  EXPECT_TRUE(w->topmost);
  EXPECT_TRUE(w->icon.IsEmpty());
  ASSERT_EQ(w->controls.size(), 2u);
  ExpectPlaced(*w, {"标签1", T::kLabel, "", -1, 32, 24, 296, 40});
  ExpectPlaced(*w, {"进度条1", T::kProcessBar, "", -1, 40, 96, 280, 21});
  const ui::ControlLayout* bar = FindControl(*w, "进度条1");
  EXPECT_EQ(bar->rangeMin, 0);
  EXPECT_EQ(bar->rangeMax, 10000);
  EXPECT_EQ(bar->position, 0);
}

TEST(SecondaryWindowLayouts, PurchaseWindowIsABrowserWithoutAnAddress) {
  const ui::WindowLayout* w = ui::FindWindowLayout(names::kPurchaseWindow);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->title, "自全动自助购买系统 过程中出现问题联系 官方QQ：");
  EXPECT_EQ(w->width, 1024);
  EXPECT_EQ(w->height, 800);
  EXPECT_FALSE(w->topmost);
  ASSERT_EQ(w->controls.size(), 1u);
  ExpectPlaced(*w, {"超文本浏览框1", T::kHtmlViewer, "", -1, -2, -4, 1018, 772});
  EXPECT_TRUE(w->controls[0].text.empty());
}

TEST(WindowLayouts, UnknownWindowHasNoLayout) {
  EXPECT_EQ(ui::FindWindowLayout("主窗口"), nullptr);
  EXPECT_EQ(ui::FindWindowLayout(""), nullptr);
}

}  // namespace
}  // namespace kesto
