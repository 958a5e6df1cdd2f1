// Element events of the catalogue page on WebKitGTK: click, mouse move and wheel reach the
// handler with the element's ID and name, and a handler's false keeps a clicked link from
// navigating.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "shell/builtin_settings.h"
#include "tests/gui/gui_support.h"
#include "tests/gui/gui_windows.h"

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

bool Reached(int code, const Text& id) {
  for (const PageEvent& e : events) {
    if (e.code == code && e.id == id) return true;
  }
  return false;
}

class CataloguePage : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTO_REQUIRE_DISPLAY();
    events.clear();
    clicksGoOn = false;
    ui::RegisterHandler(names::kOnCataloguePanelEvent, OnPanelEvent);
    ASSERT_NE(LoadAndShow(names::kMainWindow), 0);
    ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 2);
    ui::SetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl,
                Text("http://") + settings::kWebHost + "/csapp");
    // The page is up once a mouse move over its link reaches the handler.
    const Point link = Page(60, 70);
    ASSERT_TRUE(PumpUntil(
        [&] {
          XDo({"mousemove", std::to_string(link.x), std::to_string(link.y + events.size() % 2)});
          return Reached(ui::kEventMouseMove, "tool7");
        },
        20000))
        << "the catalogue page reports mouse moves";
  }

  // A point of the page, in its own coordinates.
  Point Page(int x, int y) { return ScreenPoint(names::kMainWindow, "超文本界面框1", x, y); }

  Text Address() { return ui::GetText(MainControl("超文本界面框1"), ui::prop::browser::kUrl); }

  void Click(Point p) {
    XDo({"mousemove", std::to_string(p.x), std::to_string(p.y)});
    XDo({"click", "1"});
  }
};

TEST_F(CataloguePage, MouseMoveCarriesTheElementsIdAndName) {
  const PageEvent& move = events.back();
  EXPECT_EQ(move.code, ui::kEventMouseMove);
  EXPECT_EQ(move.id, "tool7");
  EXPECT_EQ(move.name, "qmz");
  Screenshot("catalogue-page");
}

TEST_F(CataloguePage, CancelledClickKeepsTheLinkFromNavigating) {
  const Text before = Address();
  Click(Page(60, 70));
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "tool7"); }));
  const PageEvent& click = events.back();
  EXPECT_EQ(click.name, "qmz");
  Pump(1500);
  EXPECT_EQ(Address(), before) << "the page stays where it was";
}

TEST_F(CataloguePage, ClickThatGoesOnFollowsTheLink) {
  clicksGoOn = true;
  Click(Page(60, 170));
  ASSERT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "plain"); }));
  EXPECT_EQ(events.back().name, "") << "an element without a name gives the empty name";
  EXPECT_TRUE(PumpUntil([&] { return Address().ends_with("/followed-plain"); }, 10000))
      << Address();
}

TEST_F(CataloguePage, WheelAndClicksOnPlainElementsAreReported) {
  Click(Page(400, 100));
  EXPECT_TRUE(PumpUntil([] { return Reached(ui::kEventClick, "box"); }));
  XDo({"click", "5"});
  EXPECT_TRUE(PumpUntil([] { return Reached(ui::kEventWheel, "box"); }));
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

// Both web panels and the advertising strip run in one web process.
TEST_F(CataloguePage, PanelsShareOneWebProcess) {
  EXPECT_EQ(WebProcesses().size(), 1u);
}

}  // namespace
}  // namespace kesto::testing
