// Loaded windows as native windows: their handles follow the window, and native operations on
// them act on the loaded window.
#include <gtest/gtest.h>

#include "headless_support.h"
#include "runtime/headless/native_windows.h"
#include "runtime/native.h"

namespace kesto {
namespace {

namespace prop = ui::prop;
const ui::Ref kMain{names::kMainWindow, ""};

class HeadlessNativeHandles : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::StartRecording();
    ui::LoadWindow(names::kMainWindow);
  }
};

TEST_F(HeadlessNativeHandles, WindowRectFollowsItsPositionAndSize) {
  native::Handle handle = ui::NativeHandle(kMain);
  ASSERT_TRUE(native::IsWindow(handle));
  ui::SetInt(kMain, prop::kHeight, ui::GetInt(kMain, prop::kHeight) - 15);
  native::Rect rect;
  ASSERT_TRUE(native::GetWindowRect(handle, rect));
  EXPECT_EQ(rect.right - rect.left, 1024);
  EXPECT_EQ(rect.bottom - rect.top, 643);
  EXPECT_EQ(rect.left, (headless::kScreenWidth - 1024) / 2);
}

TEST_F(HeadlessNativeHandles, ShowCommandsOnTheHandleActOnTheWindow) {
  native::Handle handle = ui::NativeHandle(kMain);
  ui::SetBool(kMain, prop::kVisible, false);
  ui::SetInt(kMain, prop::window::kWindowState, ui::kStateMinimised);
  EXPECT_FALSE(headless::FakeWindow(handle).visible);
  native::ShowWindow(handle, native::kSwRestore);
  EXPECT_TRUE(ui::GetBool(kMain, prop::kVisible));
  EXPECT_TRUE(headless::IsShown(kMain));
  native::ShowWindow(handle, native::kSwMinimize);
  EXPECT_TRUE(headless::ViewWindow(names::kMainWindow).minimised);
}

TEST_F(HeadlessNativeHandles, PostedCloseClosesTheLoadedWindowLikeCloseWindow) {
  native::Handle handle = ui::NativeHandle(kMain);
  native::PostMessage(handle, native::kWmClose, 0, 0);
  EXPECT_TRUE(headless::IsLoaded(names::kMainWindow));
  ProcessEvents();
  EXPECT_FALSE(headless::IsLoaded(names::kMainWindow));
  EXPECT_FALSE(native::IsWindow(handle));
  EXPECT_EQ(testing::CalledHandlers().back(), names::kOnMainWindowDestroying);
}

TEST_F(HeadlessNativeHandles, ControlsHaveHandlesOfTheirOwnThatGoWithTheWindow) {
  const ui::Ref list{names::kMainWindow, "超级列表框1"};
  native::Handle handle = ui::NativeHandle(list);
  EXPECT_NE(handle, 0);
  EXPECT_EQ(ui::NativeHandle(list), handle);
  EXPECT_NE(ui::NativeHandle(kMain), handle);
  EXPECT_EQ(ui::NativeHandle({names::kMainWindow, "不存在"}), 0);
  EXPECT_EQ(ui::NativeHandle({names::kUpdateWindow, ""}), 0);
  ui::CloseWindow(names::kMainWindow);
  ProcessEvents();
  EXPECT_FALSE(native::IsWindow(handle));
}

TEST_F(HeadlessNativeHandles, ResetForgetsWindowsAndTheirHandles) {
  native::Handle handle = ui::NativeHandle(kMain);
  headless::SetTrayAvailable(false);
  EXPECT_FALSE(ui::TrayAvailable());
  headless::ResetAll();
  EXPECT_FALSE(headless::IsLoaded(names::kMainWindow));
  EXPECT_FALSE(native::IsWindow(handle));
  EXPECT_TRUE(ui::TrayAvailable());
}

}  // namespace
}  // namespace kesto
