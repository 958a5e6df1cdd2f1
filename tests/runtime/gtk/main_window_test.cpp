// The main window on GTK: its look, picture buttons, the address box, the link box and
// the rounded outline. Its place, dragging, hiding and tiles are in the conformance scenarios.
#include <gtest/gtest.h>

#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"

namespace kesto::testing {
namespace {

constexpr std::uint32_t kBannerBlue = 0x11B8FF;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    KESTO_REQUIRE_DISPLAY();
    ReachedHandlers().clear();
    handle_ = LoadAndShow(names::kMainWindow);
    ASSERT_NE(handle_, 0);
    // The window stays loaded from case to case; each starts on the first page, as a window
    // just loaded does.
    ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 0);
    rect_ = WindowRect(names::kMainWindow);
  }

  Point At(const char* control, int x, int y) {
    return ScreenPoint(names::kMainWindow, control, x, y);
  }

  void MoveTo(Point p) { XDo({"mousemove", std::to_string(p.x), std::to_string(p.y)}); }
  void ClickAt(Point p, int clicks = 1) {
    MoveTo(p);
    XDo({"click", "--repeat", std::to_string(clicks), "--delay", "80", "1"});
  }

  native::Handle handle_ = 0;
  native::Rect rect_;
};

TEST_F(MainWindow, TitleTextLoadButtonAndPagesWithoutTabs) {
  ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 3);
  const int x = rect_.left, y = rect_.top;
  const Point list = At("超级列表框1", 400, 300);
  Screen screen = ScreenshotWhen("main-window-installed-apps-page", [&](GdkPixbuf* shot) {
    return PixelAt(shot, list.x, list.y) == 0xF6F6F6u;
  });
  EXPECT_TRUE(AreaHasColour(screen.get(), x + 16, y + 8, 300, 32, 0xFFFFFF))
      << "the white title text lies above the banner";
  // Page 3 straight below the banner, with no tab strip in between.
  EXPECT_EQ(PixelAt(screen.get(), x + 3, y + 49), 0xFFFFFFu);
  const Point load_button = At("图形按钮3", 10, 39);
  const std::uint32_t orange = PixelAt(screen.get(), load_button.x, load_button.y);
  EXPECT_GT((orange >> 16) & 0xFF, 0xC0u) << "the load button is orange";
  EXPECT_LT(orange & 0xFF, 0x80u);

  ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 0);
  screen = ScreenshotWhen("main-window-browser-page", [&](GdkPixbuf* shot) {
    return PixelAt(shot, list.x, list.y) != 0xF6F6F6u;
  });
  // The open button lies beyond the page container's edge and is clipped away.
  EXPECT_EQ(PixelAt(screen.get(), x + 815, y + 47 + 20), 0xFFFFFFu);
}

TEST_F(MainWindow, PictureButtonShowsItsHoverPictureAndReportsClicks) {
  RecordUnder(names::kShowCatalogue);
  const Point centre = At("图形按钮3", 100, 39);
  const Point sample = At("图形按钮3", 10, 39);
  MoveTo({centre.x, centre.y + 200});
  Screen normal = Screenshot("load-button-normal");
  MoveTo(centre);
  Screen hover = ScreenshotWhen("load-button-hover", [&](GdkPixbuf* shot) {
    return PixelAt(shot, sample.x, sample.y) != PixelAt(normal.get(), sample.x, sample.y);
  });
  EXPECT_NE(PixelAt(normal.get(), sample.x, sample.y), PixelAt(hover.get(), sample.x, sample.y));
  EXPECT_EQ(CountReached(names::kShowCatalogue), 0);
  ClickAt(centre);
  EXPECT_TRUE(PumpUntil([] { return CountReached(names::kShowCatalogue) == 1; }));
  // A press on the button that is released elsewhere is no click.
  MoveTo(centre);
  XDo({"mousedown", "1"});
  MoveTo({centre.x, centre.y + 150});
  XDo({"mouseup", "1"});
  Pump(200);
  EXPECT_EQ(CountReached(names::kShowCatalogue), 1);
}

TEST_F(MainWindow, AddressBoxReportsItsKeys) {
  static std::vector<int> keys;
  static Text content;
  ui::RegisterHandler(names::kOnAddressKeyDown, [](const ui::EventArgs& args) -> ui::EventResult {
    keys.push_back(args.a);
    content = ui::GetText(MainControl("编辑框1"), ui::prop::editbox::kContent);
    return {};
  });
  ClickAt(At("编辑框1", 100, 16));
  XDo({"type", "--delay", "30", "ab"});
  XDo({"key", "Return"});
  PumpUntil([] { return keys.size() >= 3; });
  EXPECT_EQ(keys, (std::vector<int>{'A', 'B', 13}));
  EXPECT_EQ(content, "ab");
  ui::SetText(MainControl("编辑框1"), ui::prop::editbox::kContent, "网址");
  EXPECT_EQ(ui::GetText(MainControl("编辑框1"), ui::prop::editbox::kContent), "网址");
}

// The default web browser is a recorder of the addresses it is asked to open; each case starts
// with none recorded.
class LinkBox : public MainWindow {
 protected:
  void SetUp() override {
    ForgetOpenedAddresses();
    MainWindow::SetUp();
  }
};

TEST_F(LinkBox, OpensItsAddressInTheDefaultBrowserAndTurnsVisited) {
  ui::SetText(MainControl("_自助购买"), ui::prop::hyperlinker::kWebAddress, "127.0.0.1:1/pay");
  ClickAt(At("_自助购买", 36, 11));
  EXPECT_TRUE(PumpUntil([&] { return !OpenedAddresses().empty(); }, 30000));
  EXPECT_EQ(OpenedAddresses(), "http://127.0.0.1:1/pay\n");
  MoveTo({rect_.left + 500, rect_.top + 300});
  const Point link = At("_自助购买", 0, 0);
  Screen screen = ScreenshotWhen("link-visited", [&](GdkPixbuf* shot) {
    return AreaHasColour(shot, link.x, link.y, 73, 23, 0xFFFF00);
  });
  EXPECT_TRUE(AreaHasColour(screen.get(), link.x, link.y, 73, 23, 0xFFFF00)) << "visited colour";
}

TEST_F(LinkBox, HandlerRunsFirstAndItsFalseKeepsTheAddressClosed) {
  static ui::EventArgs pressed;
  static int presses = 0;
  ui::RegisterHandler(names::kOnRefreshLinkPressed,
                      [](const ui::EventArgs& args) -> ui::EventResult {
                        pressed = args;
                        ++presses;
                        return false;
                      });
  ui::SetInt(MainControl("选择夹1"), ui::prop::tab::kCurrentPage, 3);
  const ui::Ref link = MainControl("超级链接框1");
  ui::SetText(link, ui::prop::hyperlinker::kWebAddress, "127.0.0.1:1/refresh");
  ClickAt(At("超级链接框1", 20, 16));
  EXPECT_TRUE(PumpUntil([] { return presses == 1; }));
  EXPECT_NEAR(pressed.a, 20, 2);
  EXPECT_NEAR(pressed.b, 16, 2);
  Pump(1500);
  EXPECT_EQ(OpenedAddresses(), "");
}

TEST_F(MainWindow, LowerWindowAndRoundedOutline) {
  ui::SetInt(kMain, ui::prop::kHeight, ui::GetInt(kMain, ui::prop::kHeight) - 15);
  native::Rect rect;
  ASSERT_TRUE(native::GetWindowRect(handle_, rect));
  EXPECT_EQ(rect.bottom - rect.top, 643);
  native::SetRoundWindowOutline(handle_, rect.right - rect.left - 1, rect.bottom - rect.top - 1, 5);
  const int x = rect.left, y = rect.top;
  Screen screen = ScreenshotWhen("main-window-outline", [&](GdkPixbuf* shot) {
    return PixelAt(shot, x, y) == 0x000000u && PixelAt(shot, x + 1023, y + 300) == 0x000000u;
  });
  EXPECT_EQ(PixelAt(screen.get(), x, y), 0x000000u) << "the top-left corner is cut";
  EXPECT_EQ(PixelAt(screen.get(), x + 10, y), kBannerBlue);
  EXPECT_EQ(PixelAt(screen.get(), x + 1023, y + 300), 0x000000u)
      << "the outline ends one pixel short of the right edge";
  EXPECT_NE(PixelAt(screen.get(), x + 1022, y + 300), 0x000000u);
  EXPECT_EQ(PixelAt(screen.get(), x, y + 641), 0x000000u) << "the bottom-left corner is cut";
}

}  // namespace
}  // namespace kesto::testing
