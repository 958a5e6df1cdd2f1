// The main window: a borderless 1024 x 658 window with a home-made blue title bar, a right-hand
// column (load-applications button, test-phase note, side panel) and the page container whose
// pages the program switches: 0 browser, 1 empty, 2 catalogue, 3 installed applications,
// 4 loading.
#include "assets/artwork.h"
#include "layouts/names.h"
#include "layouts/window_layouts.h"
#include "shell/builtin_settings.h"

namespace kesto::layouts {

using ui::ControlLayout;
using ui::ControlType;
using ui::Event;

namespace {
constexpr std::uint32_t kBannerBlue = 0x11B8FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kHeaderGrey = 0xECECEC;
constexpr std::uint32_t kHintGrey = 0x606060;
constexpr std::uint32_t kListGrey = 0xF6F6F6;
constexpr char kPages[] = "选择夹1";

Text WebSiteAddress(const char* path) {
  return Text("http://") + settings::kWebHost + path;
}

// The controls placed directly on the window.
std::vector<ControlLayout> WindowControls() {
  return {
      {.type = ControlType::kPicBtn,
       .name = "图形按钮3",
       .left = 819,
       .top = 47,
       .width = 202,
       .height = 78,
       .pictures = {assets::kLoadAppsNormal, assets::kLoadAppsHover}},
      // Start-up points it at the purchase page; a click opens that in the default browser.
      {.type = ControlType::kHyperLinker,
       .name = "_自助购买",
       .left = 898,
       .top = 17,
       .width = 73,
       .height = 23,
       .text = "自助购买",
       .font = YaHei(14, true, true),
       .backColour = kBannerBlue,
       .linkColours = {kWhite, kWhite, kYellow}},
      {.type = ControlType::kPicBox,
       .name = "图片框5",
       .left = 819,
       .top = 127,
       .width = 202,
       .height = 73,
       .pictures = {assets::kTestPhaseNote}},
      // No tab strip: only the program switches pages.
      {.type = ControlType::kTab,
       .name = kPages,
       .left = 0,
       .top = 47,
       .width = 812,
       .height = 588,
       .backColour = kWhite,
       .pageCount = 5,
       .currentPage = 0,
       .showTabs = false},
      {.type = ControlType::kPicBox,
       .name = "图片框2",
       .left = 819,
       .top = 193,
       .width = 207,
       .height = 431,
       .backColour = 0xF3F3F3},
      // Takes no input of its own; start-up replaces the text with the contact line.
      {.type = ControlType::kTransLabel,
       .name = "_标题",
       .left = 16,
       .top = 8,
       .width = 832,
       .height = 32,
       .disabled = true,
       .text = "Kesto卖家必备应用平台 V1.6",
       .font = YaHei(14, true),
       .textColour = kWhite},
      {.type = ControlType::kPicBtn,
       .name = "图形按钮2",
       .left = 979,
       .top = 1,
       .width = 44,
       .height = 43,
       .pictures = {assets::kMinimiseNormal, assets::kMinimiseHover}},
      {.type = ControlType::kPicBtn,
       .name = "图形按钮1",
       .left = 977,
       .top = 49,
       .width = 45,
       .height = 43,
       .visible = false,
       .pictures = {assets::kCloseNormal, assets::kCloseHover}},
      // The blue title banner behind the title text and the buttons above.
      {.type = ControlType::kLabel,
       .name = "标签1",
       .left = 0,
       .top = 0,
       .width = 1028,
       .height = 45,
       .backColour = kBannerBlue},
  };
}

// The side panel, larger than its picture box on every side so that the box clips its frame.
std::vector<ControlLayout> SidePanel() {
  return {
      {.type = ControlType::kWebUIControl,
       .name = "超文本界面框2",
       .container = "图片框2",
       .left = -11,
       .top = -9,
       .width = 258,
       .height = 474,
       .text = WebSiteAddress("/topapp")},
  };
}

// Page 0: a browser with an address box; no operation of the program shows it. The open
// button lies beyond the container's right edge.
std::vector<ControlLayout> BrowserPage() {
  return {
      {.type = ControlType::kHtmlViewer,
       .name = "超文本浏览框1",
       .container = kPages,
       .page = 0,
       .left = 8,
       .top = 43,
       .width = 804,
       .height = 527,
       .text = "blank"},
      {.type = ControlType::kButton,
       .name = "按钮1",
       .container = kPages,
       .page = 0,
       .left = 825,
       .top = 8,
       .width = 72,
       .height = 32,
       .text = "打开"},
      {.type = ControlType::kEditBox,
       .name = "编辑框1",
       .container = kPages,
       .page = 0,
       .left = 8,
       .top = 9,
       .width = 809,
       .height = 32,
       .backColour = kWhite},
  };
}

// Page 2: the application catalogue under a grey header row.
std::vector<ControlLayout> CataloguePage() {
  return {
      {.type = ControlType::kPicBtn,
       .name = "图形按钮4",
       .container = kPages,
       .page = 2,
       .left = 728,
       .top = 0,
       .width = 83,
       .height = 31,
       .pictures = {assets::kHomeNormal, assets::kHomeHover}},
      {.type = ControlType::kTransLabel,
       .name = "透明标签2",
       .container = kPages,
       .page = 2,
       .left = 16,
       .top = 4,
       .width = 382,
       .height = 22,
       .text = "应用列表(点击自动下载添加)   大量应用即将上线！",
       .font = YaHei(14, false),
       .textColour = kHintGrey},
      {.type = ControlType::kLabel,
       .name = "标签2",
       .container = kPages,
       .page = 2,
       .left = 0,
       .top = 0,
       .width = 833,
       .height = 32,
       .backColour = kHeaderGrey},
      {.type = ControlType::kWebUIControl,
       .name = "超文本界面框1",
       .container = kPages,
       .page = 2,
       .left = -2,
       .top = 25,
       .width = 830,
       .height = 542,
       .text = WebSiteAddress("/csapp")},
  };
}

// Page 3: the advertising strip above the installed-application list.
std::vector<ControlLayout> InstalledAppsPage() {
  return {
      {.type = ControlType::kPicBox,
       .name = "图片框3",
       .container = kPages,
       .page = 3,
       .left = 10,
       .top = 2,
       .width = 814,
       .height = 87,
       .backColour = kWhite},
      // Start-up sets the advertising address.
      {.type = ControlType::kHtmlViewer,
       .name = "_广告",
       .container = "图片框3",
       .left = -3,
       .top = -5,
       .width = 838,
       .height = 93},
      {.type = ControlType::kPicBox,
       .name = "图片框1",
       .container = kPages,
       .page = 3,
       .left = 11,
       .top = 87,
       .width = 811,
       .height = 494,
       .backColour = kListGrey},
      // No address of its own: a click only runs the refresh.
      {.type = ControlType::kHyperLinker,
       .name = "超级链接框1",
       .container = "图片框1",
       .left = 753,
       .top = 3,
       .width = 46,
       .height = 32,
       .text = "刷新",
       .font = YaHei(12, true, true),
       .backColour = kBannerBlue,
       .linkColours = {kWhite, kWhite, kYellow}},
      {.type = ControlType::kLabel,
       .name = "标签5",
       .container = "图片框1",
       .left = 452,
       .top = 8,
       .width = 278,
       .height = 24,
       .text = "  提示:如需添加应用请点击右上角的 加载应用",
       .font = {"", 12, true, false},
       .textColour = kHintGrey,
       .backColour = kHeaderGrey},
      {.type = ControlType::kLabel,
       .name = "标签4",
       .container = "图片框1",
       .left = -2,
       .top = 0,
       .width = 755,
       .height = 36,
       .text = "    亲 你的已安装的应用双击可直接启动 | 想退出平台，右击右下角的托盘图标 ",
       .textColour = 0x808080,
       .backColour = kHeaderGrey},
      // The first refresh replaces the design-time pictures.
      {.type = ControlType::kListView,
       .name = "超级列表框1",
       .container = "图片框1",
       .left = -1,
       .top = 51,
       .width = 810,
       .height = 435,
       .font = YaHei(14, false),
       .textColour = 0x000000,
       .backColour = kListGrey,
       .pictures = {assets::kSampleTile1, assets::kSampleTile2, assets::kSampleTile3},
       .imageWidth = 155,
       .imageHeight = 140},
  };
}

// Page 4: the please-wait note while an application starts.
std::vector<ControlLayout> LoadingPage() {
  return {
      {.type = ControlType::kLabel,
       .name = "标签3",
       .container = kPages,
       .page = 4,
       .left = 113,
       .top = 200,
       .width = 560,
       .height = 136,
       .text = "正在加载应用...\r\n\r\n"
               "如没有弹出应用可能是你的杀毒软件或者防火墙拦截请关闭后重试",
       .font = YaHei(19, false),
       .textColour = 0xFF0000,
       .backColour = kWhite},
  };
}
}  // namespace

ui::WindowLayout MainWindowLayout() {
  ui::WindowLayout w;
  w.name = names::kMainWindow;
  w.title = "Kesto应用平台";
  w.width = 1024;
  w.height = 658;
  w.border = ui::Border::kNone;
  w.backColour = kWhite;
  w.icon = assets::kPlatformIcon;
  for (auto part :
       {WindowControls, SidePanel, BrowserPage, CataloguePage, InstalledAppsPage, LoadingPage}) {
    std::vector<ControlLayout> controls = part();
    w.controls.insert(w.controls.end(), controls.begin(), controls.end());
  }
  // The tray icon's pop-up menu; hidden as a top-level item, so the window shows no menu bar.
  w.menus = {{names::kTrayMenu, false, {{names::kExitMenuItem, true, {}}}}};
  w.bindings = {
      {"", Event::kCreated, names::kOnMainWindowCreated},
      {"", Event::kDestroying, names::kOnMainWindowDestroying},
      {"", Event::kTrayNotify, names::kOnTrayNotify},
      {"图形按钮3", Event::kClicked, names::kShowCatalogue},
      {"超文本界面框2", Event::kElementEvent, names::kOnSidePanelEvent},
      {"超级链接框1", Event::kLeftButtonDown, names::kOnRefreshLinkPressed},
      {"图形按钮4", Event::kClicked, names::kShowInstalledApps},
      {"超级列表框1", Event::kItemActivated, names::kOnAppListActivated},
      {"超文本界面框1", Event::kElementEvent, names::kOnCataloguePanelEvent},
      {names::kExitMenuItem, Event::kMenuChosen, names::kOnExitChosen},
      {"编辑框1", Event::kKeyDown, names::kOnAddressKeyDown},
      {"图形按钮2", Event::kClicked, names::kHideToTray},
      {"图形按钮1", Event::kClicked, names::kHideToTray},
  };
  return w;
}

}  // namespace kesto::layouts
