// Element events of the catalogue page on WebKitGTK: click, mouse move and wheel reach the
// handler with the element's ID and name, and a handler's false keeps a clicked link from
// navigating. Only the panel's own page is heard, and a page's new windows reach the desktop
// for web pages only.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "shell/builtin_settings.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"
#include "tests/runtime/gtk/web_view_journal.h"

namespace kesto::testing {
namespace {

struct PageEvent {
  int code;
  Text id, name;
};
std::vector<PageEvent> events;
bool clicksGoOn = false;

// Like the platform's panel handler: a click answers as the test says, the wheel goes on.
ui::EventResult OnPanelEvent(const ui::EventArgs& args) {
  const ui::Object element = ui::ObjectReadObject(args.object, "srcElement");
  events.push_back(
      {args.a, ui::ObjectReadText(element, "ID"), ui::ObjectReadText(element, "name")});
  if (args.a == ui::kEventClick) return clicksGoOn;
  return args.a == ui::kEventWheel;
}

// The first event of that kind on that element; nullptr while none has come. Other events
// (the browser engine's own mouse moves after a layout change) may follow it at any time.
const PageEvent* Find(int code, const Text& id) {
  for (const PageEvent& e : events) {
    if (e.code == code && e.id == id) return &e;
  }
  return nullptr;
}

bool Reached(int code, const Text& id) {
  return Find(code, id) != nullptr;
}

// The platform's own web site, and the same server by another name: another site.
Text OwnSite() {
  return Text("http://") + settings::kWebHost;
}
Text OtherSite() {
  const Text host = settings::kWebHost;
  return "http://localhost" + host.substr(host.find(':'));
}

// The events listed, for a failure's message.
std::string Listed() {
  std::string list;
  for (const PageEvent& e : events) {
    list += " " + std::to_string(e.code) + ":" + e.id.substr(0, 20);
  }
  return list;
}

class CataloguePage : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTO_REQUIRE_DISPLAY();
    events.clear();
    clicksGoOn = false;
    WebViewJournal().clear();
    ui::RegisterHandler(names::kOnCataloguePanelEvent, OnPanelEvent);
    ASSERT_NE(LoadAndShow(names::kMainWindow), 0);
    WatchWebViews();
    ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 2);
    ui::SetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl, OwnSite() + "/csapp");
    // The page is up once a mouse move over its link reaches the handler.
    ASSERT_TRUE(MoveUntilReported(60, 70, "tool7"))
        << "the catalogue page reports mouse moves; " << WhatThePageSent("catalogue-page-missed");
  }

  // Moves the pointer over the page's point (x, y) until a mouse move on that element arrives;
  // every try moves it a little, so that each one makes a motion the page can see. The point is
  // found anew each time: the window manager may still be placing the window.
  bool MoveUntilReported(int x, int y, const Text& id) {
    int tries = 0;
    return PumpUntil(
        [&] {
          WatchWebViews();  // a view made late, too
          const Point p = Page(x, y);
          XDo({"mousemove", std::to_string(p.x), std::to_string(p.y + ++tries % 2)});
          return Reached(ui::kEventMouseMove, id);
        },
        60000);
  }

  // What the page sent so far and where it stands, with a screenshot, for a wait that missed.
  std::string WhatThePageSent(const std::string& shot) {
    Screenshot(shot);
    std::string what =
        "address " + Address() + ", " + std::to_string(events.size()) + " events, first ones:";
    for (std::size_t i = 0; i < events.size() && i < 8; ++i) {
      what += " " + std::to_string(events[i].code) + ":" + events[i].id.substr(0, 20);
    }
    return what + "; screenshot " + shot + "; what the browser views did:\n" + WebViewJournal();
  }

  // A point of the page, in its own coordinates.
  Point Page(int x, int y) { return ScreenPoint(names::kMainWindow, "超文本界面框1", x, y); }

  Text Address() { return ui::GetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl); }
  void Show(const Text& address) {
    ui::SetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl, address);
  }

  void Click(Point p) {
    XDo({"mousemove", std::to_string(p.x), std::to_string(p.y)});
    XDo({"click", "1"});
  }
};

TEST_F(CataloguePage, MouseMoveCarriesTheElementsIdAndName) {
  EXPECT_EQ(Find(ui::kEventMouseMove, "tool7")->name, "qmz");
  Screenshot("catalogue-page");
}

TEST_F(CataloguePage, CancelledClickKeepsTheLinkFromNavigating) {
  const Text before = Address();
  Click(Page(60, 70));
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "tool7"); }));
  EXPECT_EQ(Find(ui::kEventClick, "tool7")->name, "qmz");
  Pump(1500);
  EXPECT_EQ(Address(), before) << "the page stays where it was";
}

TEST_F(CataloguePage, ClickThatGoesOnFollowsTheLink) {
  clicksGoOn = true;
  Click(Page(60, 170));
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "plain"); }));
  EXPECT_EQ(Find(ui::kEventClick, "plain")->name, "")
      << "an element without a name gives the empty name";
  EXPECT_TRUE(PumpUntil([&] { return Address().ends_with("/followed-plain"); }, 30000))
      << Address();
}

TEST_F(CataloguePage, WheelAndClicksOnPlainElementsAreReported) {
  Click(Page(400, 100));
  EXPECT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "box"); }));
  XDo({"click", "5"});
  EXPECT_TRUE(PumpUntil([] { return Reached(ui::kEventWheel, "box"); }))
      << "the wheel turn; " << WhatThePageSent("catalogue-wheel-missed");
}

TEST_F(CataloguePage, DisabledPanelTakesNoClicks) {
  ui::SetBool(MainControl("超文本界面框1"), ui::prop::kDisable, true);
  EXPECT_TRUE(ui::GetBool(MainControl("超文本界面框1"), ui::prop::kDisable));
  Click(Page(400, 100));
  Pump(800);
  EXPECT_FALSE(Reached(ui::kEventClick, "box"));
  ui::SetBool(MainControl("超文本界面框1"), ui::prop::kDisable, false);
  Click(Page(400, 100));
  EXPECT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "box"); }));
}

// A page that went to another site by itself is not heard, however it is clicked; the same
// page is heard once the program sends the panel there.
TEST_F(CataloguePage, PageOnAnotherSiteIsHeardOnlyWhereTheProgramSentThePanel) {
  const Text elsewhere = OtherSite() + "/csapp";
  Show(OwnSite() + "/leave");
  ASSERT_TRUE(PumpUntil([&] { return Address() == elsewhere; }, 30000)) << Address();
  events.clear();
  for (int i = 0; i < 5; ++i) {
    Click(Page(400 + i, 100));
    Pump(400);
  }
  EXPECT_TRUE(events.empty()) << "heard from the other site:" << Listed();
  Show(elsewhere);
  EXPECT_TRUE(MoveUntilReported(60, 70, "tool7")) << WhatThePageSent("other-site-missed");
}

// New windows the page asks for reach the desktop for web pages only: not a local file, a
// share or a program's own scheme, whose openers the recorder stands for too.
TEST_F(CataloguePage, NewWindowsReachTheDesktopForWebPagesOnly) {
  clicksGoOn = true;
  ForgetOpenedAddresses();
  Show(OwnSite() + "/new-windows");
  ASSERT_TRUE(MoveUntilReported(70, 80, "to-file")) << WhatThePageSent("new-windows-missed");
  for (int x : {70, 180, 290, 400}) {
    Click(Page(x, 80));
    Pump(500);
  }
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "to-web"); }));
  EXPECT_TRUE(PumpUntil([] { return !OpenedAddresses().empty(); }, 30000));
  Pump(1500);
  EXPECT_EQ(OpenedAddresses(), OwnSite() + "/web\n");
}

// A page of the own site with frames from another site and from the own site: clicks and
// moves in the frames, and events a frame makes up and posts itself, reach no handler; the
// top-level page's do.
class FramedPage : public CataloguePage {
 protected:
  void SetUp() override {
    CataloguePage::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    Show(OwnSite() + "/framed");
    ASSERT_TRUE(MoveUntilReported(60, 70, "top7")) << WhatThePageSent("framed-page-missed");
    ASSERT_TRUE(MoveUntilReported(400, 70, "frames-up"))
        << "both frames ran their scripts; " << WhatThePageSent("frames-missed");
  }
};

TEST_F(FramedPage, OnlyTheTopLevelPageIsHeard) {
  for (int x : {140, 420}) {
    Click(Page(x, 210));
    Pump(500);
  }
  Click(Page(60, 70));
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "top7"); }));
  Pump(1000);
  const bool fromFrames = std::any_of(events.begin(), events.end(), [](const PageEvent& e) {
    return e.id == "inner7" || e.id == "forged";
  });
  EXPECT_FALSE(fromFrames) << "heard from a frame:" << Listed();
}

// The web processes started on behalf of this test program: WebKit's own, found below it in
// the process tree.
std::vector<pid_t> WebProcesses() {
  std::map<pid_t, pid_t> parents;
  std::vector<pid_t> web;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    char state;
    pid_t parent = 0;
    rest >> state >> parent;
    const pid_t pid = std::stoi(name);
    parents[pid] = parent;
    if (line.find("(WebKitWebProces") != std::string::npos) web.push_back(pid);
  }
  std::vector<pid_t> ours;
  for (pid_t pid : web) {
    for (pid_t up = parents[pid]; up > 1; up = parents[up]) {
      if (up == getpid()) {
        ours.push_back(pid);
        break;
      }
    }
  }
  return ours;
}

// One web process once the panels' pages have settled: a panel's first navigation away from its
// blank page may run in a process of its own for a moment while WebKit swaps it over.
bool SettlesOnOneWebProcess() {
  return PumpUntil([] { return WebProcesses().size() == 1; }, 10000);
}

// Both web panels and the advertising strip run in one web process.
TEST_F(CataloguePage, PanelsShareOneWebProcess) {
  EXPECT_TRUE(SettlesOnOneWebProcess()) << WebProcesses().size() << " web processes";
}

// A web process that dies takes its pages with it, not the platform: the panels load their
// pages again, and the page reports its events as before.
TEST_F(CataloguePage, PanelsComeBackAfterTheirWebProcessDies) {
  ASSERT_TRUE(SettlesOnOneWebProcess()) << WebProcesses().size() << " web processes";
  const std::vector<pid_t> before = WebProcesses();
  ASSERT_EQ(kill(before[0], SIGKILL), 0);
  // Events the page sent before it died may still be on their way; the engine reaps the
  // process once it has seen it die.
  ASSERT_TRUE(PumpUntil(
      [&] {
        const std::vector<pid_t> now = WebProcesses();
        return std::count(now.begin(), now.end(), before[0]) == 0;
      },
      30000))
      << "the killed web process is reaped";
  events.clear();
  EXPECT_TRUE(MoveUntilReported(60, 70, "tool7"))
      << "the catalogue page is back; " << WhatThePageSent("catalogue-page-not-back");
}

// A page whose elements carry IDs and names no page should have: each reaches the handler as
// a defined text, and nothing breaks.
class HostilePage : public CataloguePage {
 protected:
  void SetUp() override {
    CataloguePage::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ui::SetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl,
                Text("http://") + settings::kWebHost + "/hostile");
    ASSERT_TRUE(MoveUntilReported(70, 80, "ready")) << "the hostile page is up";
  }

  // The click on the element at (x, y) of the page, once it has arrived.
  const PageEvent* ClickAndFind(int x, const Text& id) {
    Click(Page(x, 80));
    PumpUntil([&] { return Reached(ui::kEventClick, id); }, 30000);
    return Find(ui::kEventClick, id);
  }
};

TEST_F(HostilePage, IdsAndNamesArriveAsDefinedTexts) {
  struct Case {
    int x;
    Text id, name;
  } cases[] = {
      {180, R"(say "hi" \ 'there')", R"(\"')"},
      {290, "ctl\x01\x02\t\x1f", "x\r\ny[s]=v"},
      {400, Text(100000, 'i'), Text(100000, 'n')},
      // What GBK cannot spell, half a UTF-16 pair included, becomes "?".
      {510, "lone?", "pair?"},
      // The text ends at a zero character.
      {620, "before", "中?"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.x);
    const PageEvent* click = ClickAndFind(test.x, test.id);
    ASSERT_NE(click, nullptr) << "last click on " << events.back().id.substr(0, 40);
    EXPECT_EQ(click->name, test.name);
  }
}

}  // namespace
}  // namespace kesto::testing
