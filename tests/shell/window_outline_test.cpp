#include "shell/window_outline.h"

#include <gtest/gtest.h>

#include "runtime/headless/native_windows.h"

namespace kesto::shell {
namespace {

TEST(RoundWindowCorners, OutlinesOnePixelInsideTheRectangleAndLeavesAGoneWindowAlone) {
  headless::ResetFakeWindows();
  headless::FakeWindowOptions options;
  options.rect = {100, 50, 1124, 693};
  native::Handle window = headless::CreateFakeWindow(options);
  RoundWindowCorners(window, 5);
  ASSERT_TRUE(headless::FakeWindow(window).outline);
  EXPECT_EQ(headless::FakeWindow(window).outline->width, 1023);
  EXPECT_EQ(headless::FakeWindow(window).outline->height, 642);

  // Without a rectangle an outline would be empty and hide the window.
  native::Handle gone = headless::CreateFakeWindow(options);
  headless::DestroyFakeWindow(gone);
  RoundWindowCorners(gone, 5);
  EXPECT_FALSE(headless::FakeWindow(gone).outline);
}

}  // namespace
}  // namespace kesto::shell
