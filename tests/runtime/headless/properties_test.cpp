// Property access: fatal errors for controls of windows that are not loaded, and the writes that
// act (browser addresses) besides being stored.
#include <gtest/gtest.h>

#include <thread>

#include "headless_support.h"

namespace kesto {
namespace {

namespace prop = ui::prop;

class HeadlessProperties : public ::testing::Test {
 protected:
  void SetUp() override { testing::StartRecording(); }
};

// Runs `access`, which must end the program with the fatal error carrying `message`.
template <class Access>
void ExpectFatal(Access access, const Text& message) {
  try {
    access();
    ADD_FAILURE() << "the program did not end";
  } catch (const headless::ProgramEnded& end) {
    EXPECT_EQ(end.exitCode, -1);
  }
  std::vector<headless::MessageRecord> boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "运行时出错!\r\n\r\n错误信息：" + message + "\r\n");
  headless::ResetFrame();
}

TEST_F(HeadlessProperties, ControlOfAWindowNotLoadedIsAFatalError) {
  const Text notLoaded = "未载入欲访问窗口组件所在的窗口";
  const ui::Ref bar{names::kUpdateWindow, "进度条1"};
  ExpectFatal([&] { ui::GetInt(bar, prop::processbar::kPosition); }, notLoaded);
  ExpectFatal([&] { ui::SetInt(bar, prop::kLeft, 1); }, notLoaded);
  ExpectFatal([] { ui::GetText({names::kPurchaseWindow, ""}, prop::window::kTitle); }, notLoaded);
  ExpectFatal([] { ui::ListItemCount({names::kMainWindow, "超级列表框1"}); }, notLoaded);
  ExpectFatal([] { ui::Execute({names::kMainWindow, "超文本界面框1"}, ui::kRefresh); }, notLoaded);
  // After the window is closed its controls are gone again.
  ui::LoadWindow(names::kUpdateWindow);
  EXPECT_EQ(ui::GetInt(bar, prop::processbar::kPosition), 0);
  ui::CloseWindow(names::kUpdateWindow);
  ProcessEvents();
  ExpectFatal([&] { ui::GetInt(bar, prop::processbar::kPosition); }, notLoaded);
}

TEST_F(HeadlessProperties, WorkerWriteToAClosedWindowIsDropped) {
  ui::LoadWindow(names::kUpdateWindow);
  ui::CloseWindow(names::kUpdateWindow);
  ProcessEvents();
  std::thread worker([] {
    ui::SetInt({names::kUpdateWindow, "进度条1"}, prop::processbar::kPosition, 5000);
  });
  worker.join();
  EXPECT_FALSE(headless::EndedExitCode());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(HeadlessProperties, NameTheWindowDoesNotHaveIsAFatalError) {
  ui::LoadWindow(names::kUpdateWindow);
  ExpectFatal(
      [] {
        ui::GetInt({names::kUpdateWindow, "进度条2"}, prop::processbar::kPosition);
      },
      "指定窗口尚未载入");
}

TEST_F(HeadlessProperties, AnyPropertyIsStoredAndReadBack) {
  ui::LoadWindow(names::kMainWindow);
  const ui::Ref title{names::kMainWindow, "_标题"};
  ui::SetText(title, prop::kTag, "标记");
  ui::SetInt(title, 30, 7);
  ui::SetBytes(title, 31, Bytes{0, 1, 0});
  EXPECT_EQ(ui::GetText(title, prop::kTag), "标记");
  EXPECT_EQ(ui::GetInt(title, 30), 7);
  EXPECT_EQ(ui::GetBytes(title, 31), (Bytes{0, 1, 0}));
  EXPECT_EQ(ui::GetInt(title, 32), 0);  // never written
}

TEST_F(HeadlessProperties, WritingAnAddressNavigatesEveryTime) {
  ui::LoadWindow(names::kMainWindow);
  const ui::Ref catalogue{names::kMainWindow, "超文本界面框1"};
  const Text initial = testing::LayoutOf(catalogue).text;
  ui::SetText(catalogue, prop::browser::kUrl, "http://127.0.0.1:8000/app");
  ui::SetText(catalogue, prop::browser::kUrl, "http://127.0.0.1:8000/app");
  ui::Execute(catalogue, ui::kRefresh);
  ui::Execute(catalogue, ui::kBack);
  EXPECT_EQ(ui::GetText(catalogue, prop::browser::kUrl), "http://127.0.0.1:8000/app");
  EXPECT_EQ(headless::Navigations(catalogue),
            (std::vector<Text>{initial, "http://127.0.0.1:8000/app", "http://127.0.0.1:8000/app"}));
  EXPECT_EQ(headless::Commands(catalogue), (std::vector<int>{4, 1}));
  EXPECT_EQ(headless::RefreshCount(catalogue), 1);
  // A browser without an initial address has navigated nowhere, and an empty address leaves
  // the page as it is; the layouts' "blank" is the empty page.
  const ui::Ref ad{names::kMainWindow, "_广告"};
  EXPECT_TRUE(headless::Navigations(ad).empty());
  ui::SetText(ad, prop::browser::kUrl, "");
  EXPECT_TRUE(headless::Navigations(ad).empty());
  ui::SetText(ad, prop::browser::kUrl, "blank");
  EXPECT_EQ(headless::Navigations(ad), std::vector<Text>{"about:blank"});
}

}  // namespace
}  // namespace kesto
