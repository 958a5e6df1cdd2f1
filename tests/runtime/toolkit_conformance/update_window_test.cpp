// The update window: always on top, its progress bar written and the window closed by the
// self-update worker from its own thread.
#include <thread>

#include "layouts/names.h"
#include "tests/recording_handlers/recording_handlers.h"
#include "tests/runtime/toolkit_conformance/on_desktop.h"

namespace kesto::testing {
namespace {

using UpdateWindow = OnDesktop;
using desktop::PumpUntil;

TEST_F(UpdateWindow, StaysOnTopAndTakesTheWorkersProgressAndClose) {
  ReachedHandlers().clear();
  RecordUnder(names::kOnUpdateWindowCreated);
  const native::Handle window = desktop::LoadAndShow(names::kUpdateWindow);
  ASSERT_NE(window, 0);
  EXPECT_EQ(CountReached(names::kOnUpdateWindowCreated), 1);
  EXPECT_TRUE(PumpUntil([&] { return desktop::IsAlwaysOnTop(window); }));
  const ui::Ref update{names::kUpdateWindow, ""};
  EXPECT_EQ(ui::GetInt(update, ui::prop::kWidth), 357);
  EXPECT_EQ(ui::GetInt(update, ui::prop::kHeight), 168);

  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  std::thread worker([&] { ui::SetInt(bar, ui::prop::processbar::kPosition, 2500); });
  worker.join();
  EXPECT_TRUE(PumpUntil([&] { return ui::GetInt(bar, ui::prop::processbar::kPosition) == 2500; }));
  // A quarter of the bar is filled: its start looks otherwise than its middle.
  const desktop::Point filled = desktop::ControlPoint(bar, 30, 10);
  const desktop::Point empty = desktop::ControlPoint(bar, 250, 10);
  EXPECT_TRUE(PumpUntil([&] {
    return desktop::ScreenPixel(filled.x, filled.y) != desktop::ScreenPixel(empty.x, empty.y);
  }));
  desktop::Screenshot("update-window");

  std::thread closer([] { ui::CloseWindow(names::kUpdateWindow); });
  closer.join();
  EXPECT_TRUE(PumpUntil([&] { return !native::IsWindow(window); }));
  // The worker cannot know the window went: its late write is dropped, the program goes on.
  std::thread late([&] { ui::SetInt(bar, ui::prop::processbar::kPosition, 3000); });
  late.join();
  desktop::Pump(300);
}

}  // namespace
}  // namespace kesto::testing
