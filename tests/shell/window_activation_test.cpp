// Bringing a recorded window forward, and the main window's rounded outline, on the fake
// native windows.
#include "shell/window_activation.h"

#include <gtest/gtest.h>

#include "runtime/headless/native_windows.h"
#include "shell/window_outline.h"

namespace kesto::shell {
namespace {

using headless::WindowAction;

std::vector<std::pair<WindowAction, int>> Actions(native::Handle window) {
  std::vector<std::pair<WindowAction, int>> actions;
  for (const headless::WindowActionRecord& record : headless::FakeWindow(window).actions) {
    actions.emplace_back(record.action, record.value);
  }
  return actions;
}

class WindowActivationTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::ResetFakeWindows(); }
};

TEST_F(WindowActivationTest, RestoresAHiddenMinimisedWindowAndRaisesItInOrder) {
  native::Handle window = headless::CreateFakeWindow();
  headless::HideFakeWindow(window);
  headless::MinimiseFakeWindow(window);

  ActivateWindow(window);

  std::vector<std::pair<WindowAction, int>> actions = Actions(window);
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_EQ(actions[0], std::make_pair(WindowAction::kShowWindowAsync, 1));
  EXPECT_EQ(actions[1].first, WindowAction::kOpenIcon);
  EXPECT_EQ(actions[2].first, WindowAction::kSetForeground);
  EXPECT_EQ(actions[3], std::make_pair(WindowAction::kShowWindow, 9));
  EXPECT_EQ(actions[4].first, WindowAction::kBringToTop);
  headless::FakeWindowState state = headless::FakeWindow(window);
  EXPECT_TRUE(state.visible);
  EXPECT_FALSE(state.minimised);
  EXPECT_EQ(headless::ForegroundWindow(), window);
}

TEST_F(WindowActivationTest, LeavesTheWindowWhereItIsWithoutBringingToTop) {
  native::Handle window = headless::CreateFakeWindow();
  ActivateWindow(window, false);
  ASSERT_FALSE(Actions(window).empty());
  EXPECT_NE(Actions(window).back().first, WindowAction::kBringToTop);
}

TEST_F(WindowActivationTest, DeadOrZeroHandlesAreLeftAlone) {
  native::Handle gone = headless::CreateFakeWindow();
  headless::DestroyFakeWindow(gone);
  EXPECT_FALSE(IsLiveWindow(gone));
  EXPECT_FALSE(IsLiveWindow(0));
  ActivateWindow(gone);
  ActivateWindow(0);
  EXPECT_TRUE(Actions(gone).empty());
  EXPECT_EQ(headless::ForegroundWindow(), 0);
}

TEST_F(WindowActivationTest, OutlineIsOnePixelInsideTheWindowRectangle) {
  headless::FakeWindowOptions options;
  options.rect = {100, 50, 1124, 693};
  native::Handle window = headless::CreateFakeWindow(options);
  RoundWindowCorners(window, 5);
  std::optional<headless::FakeWindowState::Outline> outline = headless::FakeWindow(window).outline;
  ASSERT_TRUE(outline);
  EXPECT_EQ(outline->width, 1023);
  EXPECT_EQ(outline->height, 642);
  EXPECT_EQ(outline->radius, 5);

  native::Handle gone = headless::CreateFakeWindow();
  headless::DestroyFakeWindow(gone);
  RoundWindowCorners(gone, 5);
  EXPECT_FALSE(headless::FakeWindow(gone).outline) << "no rectangle, no outline";
}

}  // namespace
}  // namespace kesto::shell
