// Loading and closing windows, their window state, and what the user can see.
#include <gtest/gtest.h>

#include "headless_support.h"
#include "runtime/image/image_list.h"
#include "runtime/layout.h"

namespace kesto {
namespace {

using testing::CalledHandlers;
namespace prop = ui::prop;

const ui::Ref kMain{names::kMainWindow, ""};

class HeadlessWindows : public ::testing::Test {
 protected:
  void SetUp() override { testing::StartRecording(); }
};

TEST_F(HeadlessWindows, LoadingBuildsEveryControlWithItsLayoutValues) {
  for (const char* name : {names::kMainWindow, names::kUpdateWindow, names::kPurchaseWindow}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(ui::LoadWindow(name));
    const ui::WindowLayout& layout = *ui::FindWindowLayout(name);
    EXPECT_EQ(ui::GetText({name, ""}, prop::window::kTitle), layout.title);
    EXPECT_EQ(ui::GetInt({name, ""}, prop::kWidth), layout.width);
    EXPECT_EQ(ui::GetBytes({name, ""}, prop::window::kIcon), layout.icon.ToBytes());
    for (const ui::ControlLayout& c : layout.controls) {
      ui::Ref ref{name, c.name};
      SCOPED_TRACE(c.name);
      EXPECT_EQ(ui::GetInt(ref, prop::kLeft), c.left);
      EXPECT_EQ(ui::GetInt(ref, prop::kTop), c.top);
      EXPECT_EQ(ui::GetInt(ref, prop::kWidth), c.width);
      EXPECT_EQ(ui::GetInt(ref, prop::kHeight), c.height);
      EXPECT_EQ(ui::GetBool(ref, prop::kVisible), c.visible);
      EXPECT_EQ(ui::GetBool(ref, prop::kDisable), c.disabled);
      if (c.type == ui::ControlType::kHtmlViewer || c.type == ui::ControlType::kWebUIControl) {
        // The layouts' "blank" is the empty page, which the browser then shows.
        EXPECT_EQ(ui::GetText(ref, prop::browser::kUrl),
                  c.text == "blank" ? "about:blank" : c.text);
      }
    }
  }
  const ui::Ref list{names::kMainWindow, "超级列表框1"};
  EXPECT_EQ(ui::GetInt({names::kMainWindow, "选择夹1"}, prop::tab::kCurrentPage), 0);
  EXPECT_EQ(ui::GetInt(list, prop::listview::kSelectedIndex), -1);
  EXPECT_EQ(ui::GetText({names::kMainWindow, "_标题"}, prop::translabel::kText),
            "Kesto卖家必备应用平台 V1.6");
  EXPECT_EQ(ui::GetInt({names::kUpdateWindow, "进度条1"}, prop::processbar::kPosition), 0);
  // The design-time pictures make the list's first image list.
  Bytes expected = ui::ImageListCreate(155, 140);
  for (const ui::Picture& p : testing::LayoutOf(list).pictures) {
    ui::ImageListAdd(expected, p.ToBytes());
  }
  EXPECT_EQ(image::ReadImageListInfo(ui::GetBytes(list, prop::listview::kImageList))->count, 3);
  EXPECT_EQ(ui::GetBytes(list, prop::listview::kImageList), expected);
}

TEST_F(HeadlessWindows, CreatedEventRunsOnceAfterEveryControlExists) {
  ui::RegisterHandler(names::kOnMainWindowCreated, [](const ui::EventArgs&) -> ui::EventResult {
    // Every control is there while the created event runs.
    ui::SetInt({names::kMainWindow, "选择夹1"}, prop::tab::kCurrentPage, 3);
    testing::Calls().push_back({"created", {}});
    return std::nullopt;
  });
  ASSERT_TRUE(ui::LoadWindow(names::kMainWindow));
  EXPECT_EQ(CalledHandlers(), std::vector<Text>{"created"});
  EXPECT_EQ(ui::GetInt({names::kMainWindow, "选择夹1"}, prop::tab::kCurrentPage), 3);
  // Loading it again brings it to the front without creating it anew.
  ASSERT_TRUE(ui::LoadWindow(names::kMainWindow));
  EXPECT_EQ(CalledHandlers().size(), 1u);
  EXPECT_EQ(headless::ViewWindow(names::kMainWindow).raised, 1);
}

TEST_F(HeadlessWindows, UnknownWindowDoesNotLoad) {
  EXPECT_FALSE(ui::LoadWindow("窗口9"));
  EXPECT_FALSE(headless::IsLoaded("窗口9"));
}

TEST_F(HeadlessWindows, LoadedWindowsAreCentredOnTheScreen) {
  ui::LoadWindow(names::kUpdateWindow);
  headless::WindowView view = headless::ViewWindow(names::kUpdateWindow);
  EXPECT_EQ(view.left, (headless::kScreenWidth - 357) / 2);
  EXPECT_EQ(view.top, (headless::kScreenHeight - 168) / 2);
  EXPECT_TRUE(view.visible);
  EXPECT_TRUE(CalledHandlers() == std::vector<Text>{names::kOnUpdateWindowCreated});
}

TEST_F(HeadlessWindows, CloseIsPostedAndRunsTheDestroyingEventWhileControlsExist) {
  static Text titleSeen;
  ui::RegisterHandler(names::kOnMainWindowDestroying, [](const ui::EventArgs&) -> ui::EventResult {
    titleSeen = ui::GetText({names::kMainWindow, "_标题"}, prop::translabel::kText);
    return std::nullopt;
  });
  ui::LoadWindow(names::kMainWindow);
  EXPECT_NE(ui::NativeHandle(kMain), 0);
  ui::CloseWindow(names::kMainWindow);
  // Nothing happens until the caller has returned and the queue is drained.
  EXPECT_TRUE(headless::IsLoaded(names::kMainWindow));
  ProcessEvents();
  EXPECT_FALSE(headless::IsLoaded(names::kMainWindow));
  EXPECT_EQ(titleSeen, "Kesto卖家必备应用平台 V1.6");
  EXPECT_EQ(ui::NativeHandle(kMain), 0);
}

TEST_F(HeadlessWindows, CloseFromAnotherThreadWaitsForTheUserInterfaceThread) {
  ui::LoadWindow(names::kUpdateWindow);
  std::thread worker([] { ui::CloseWindow(names::kUpdateWindow); });
  worker.join();
  EXPECT_TRUE(headless::IsLoaded(names::kUpdateWindow));
  EXPECT_TRUE(headless::RunUntil([] { return !headless::IsLoaded(names::kUpdateWindow); }));
}

TEST_F(HeadlessWindows, ClosePostedBeforeAReloadLeavesTheNewWindowAlone) {
  ui::LoadWindow(names::kPurchaseWindow);
  ui::CloseWindow(names::kPurchaseWindow);
  ProcessEvents();
  ui::LoadWindow(names::kPurchaseWindow);
  ui::CloseWindow(names::kPurchaseWindow);
  ui::CloseWindow(names::kPurchaseWindow);
  ProcessEvents();
  EXPECT_FALSE(headless::IsLoaded(names::kPurchaseWindow));
  ui::LoadWindow(names::kPurchaseWindow);
  EXPECT_TRUE(headless::IsLoaded(names::kPurchaseWindow));
  std::vector<Text> called = CalledHandlers();
  EXPECT_EQ(std::count(called.begin(), called.end(), Text(names::kOnPurchaseWindowCreated)), 3);
}

TEST_F(HeadlessWindows, HiddenWindowStaysHiddenWhenMinimisedAndComesBackCentred) {
  ui::LoadWindow(names::kMainWindow);
  ui::SetInt(kMain, prop::kLeft, 10);
  ui::SetInt(kMain, prop::kTop, 20);
  // Hide to tray: visible false, then minimised.
  ui::SetBool(kMain, prop::kVisible, false);
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateMinimised);
  EXPECT_FALSE(headless::ViewWindow(names::kMainWindow).visible);
  EXPECT_FALSE(headless::IsShown(kMain));
  EXPECT_EQ(ui::GetInt(kMain, prop::window::kWindowState), 2);
  // Restore: centred state first, then visible; shown normally and centred.
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateCentred);
  EXPECT_FALSE(headless::ViewWindow(names::kMainWindow).visible);
  ui::SetBool(kMain, prop::kVisible, true);
  headless::WindowView view = headless::ViewWindow(names::kMainWindow);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(view.minimised);
  EXPECT_EQ(view.left, (headless::kScreenWidth - 1024) / 2);
  EXPECT_EQ(view.top, (headless::kScreenHeight - 658) / 2);
  EXPECT_EQ(view.width, 1024);
}

TEST_F(HeadlessWindows, WindowStateActsAtOnceOnAVisibleWindow) {
  ui::LoadWindow(names::kMainWindow);
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateMinimised);
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).minimised);
  EXPECT_FALSE(headless::IsShown(kMain));
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateMaximised);
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).maximised);
  ui::SetInt(kMain, prop::kHeight, 643);
  ui::SetInt(kMain, prop::kTop, 0);
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateCentred);
  headless::WindowView view = headless::ViewWindow(names::kMainWindow);
  EXPECT_FALSE(view.maximised || view.minimised);
  EXPECT_EQ(view.height, 643);  // centred, not resized
  EXPECT_EQ(view.top, (headless::kScreenHeight - 643) / 2);
  // A hidden window shown again without a state written meanwhile keeps its state.
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateMinimised);
  ui::SetBool(kMain, prop::kVisible, false);
  ui::SetBool(kMain, prop::kVisible, true);
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).minimised);
}

TEST_F(HeadlessWindows, OnlyTheCurrentPageAndVisibleControlsAreShown) {
  ui::LoadWindow(names::kMainWindow);
  const ui::Ref pages{names::kMainWindow, "选择夹1"};
  EXPECT_TRUE(headless::IsShown({names::kMainWindow, "编辑框1"}));
  // The open button lies beyond the page container's right edge.
  EXPECT_FALSE(headless::IsShown({names::kMainWindow, "按钮1"}));
  EXPECT_FALSE(headless::IsShown({names::kMainWindow, "图形按钮1"}));
  EXPECT_TRUE(headless::IsShown({names::kMainWindow, "图形按钮2"}));
  EXPECT_FALSE(headless::IsShown({names::kMainWindow, "超级列表框1"}));
  ui::SetInt(pages, prop::tab::kCurrentPage, 3);
  EXPECT_TRUE(headless::IsShown({names::kMainWindow, "超级列表框1"}));
  EXPECT_TRUE(headless::IsShown({names::kMainWindow, "_广告"}));
  EXPECT_FALSE(headless::IsShown({names::kMainWindow, "编辑框1"}));
  // A page the container does not have leaves the page as it was.
  ui::SetInt(pages, prop::tab::kCurrentPage, 5);
  ui::SetInt(pages, prop::tab::kCurrentPage, -1);
  EXPECT_EQ(ui::GetInt(pages, prop::tab::kCurrentPage), 3);
}

TEST_F(HeadlessWindows, FocusGoesToTheNamedControl) {
  ui::LoadWindow(names::kMainWindow);
  ui::FocusControl({names::kMainWindow, "超文本界面框1"});
  ASSERT_TRUE(headless::Focused());
  EXPECT_EQ(headless::Focused()->control, "超文本界面框1");
}

}  // namespace
}  // namespace kesto
