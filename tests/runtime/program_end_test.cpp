#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "runtime/core.h"
#include "runtime/headless/frame.h"

namespace kesto {
namespace {

class ProgramEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::ResetFrame();
    runs = 0;
  }
  void TearDown() override { RegisterExitRoutine(nullptr); }

  // Ends the program by `end` and gives the exit code it ended with.
  template <class End>
  int EndedBy(End end) {
    try {
      end();
    } catch (const headless::ProgramEnded& ended) {
      return ended.exitCode;
    }
    ADD_FAILURE() << "the program went on";
    return 0;
  }

  static inline std::atomic<int> runs{0};
};

TEST_F(ProgramEnd, ExplicitEndRunsTheRoutineOnceThenForgetsIt) {
  RegisterExitRoutine([] { ++runs; });
  EXPECT_EQ(EndedBy([] { EndProgram(3); }), 3);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(EndedBy([] { EndProgram(4); }), 4);
  EXPECT_EQ(runs, 1);
}

TEST_F(ProgramEnd, FatalErrorShowsTheTextAndEndsWithMinusOne) {
  RegisterExitRoutine([] { ++runs; });
  EXPECT_EQ(EndedBy([] { FatalError(4, "数组成员引用下标必须大于等于1"); }), -1);
  EXPECT_EQ(runs, 1);
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
  EXPECT_TRUE(boxes[0].flags & kMbIconStop);
}

TEST_F(ProgramEnd, FatalErrorInsideTheRoutineDoesNotRunItAgain) {
  RegisterExitRoutine([] {
    ++runs;
    Array<Text> empty;
    empty[1];  // index beyond the count: fatal
  });
  EXPECT_EQ(EndedBy([] { EndProgram(0); }), -1);
  EXPECT_EQ(runs, 1);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("数组成员引用下标超出定义范围"), Text::npos);
}

TEST_F(ProgramEnd, ArrayIndexBelowOneIsFatal) {
  Array<Text> items{"a"};
  EXPECT_EQ(items[1], "a");
  EXPECT_EQ(EndedBy([&] { items[0]; }), -1);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("错误代码：4"), Text::npos);
}

// The routine releases what handlers use: an end asked for on a worker runs it on the
// user-interface thread, between handlers, and the worker goes no further.
TEST_F(ProgramEnd, AnEndOnAnotherThreadRunsTheRoutineOnTheUserInterfaceThread) {
  static std::atomic<bool> workerWentOn{false};
  static std::thread::id routineThread;
  workerWentOn = false;
  RegisterExitRoutine([] {
    ++runs;
    routineThread = std::this_thread::get_id();
  });
  std::thread([] {
    EndProgram(7);
    workerWentOn = true;
  }).detach();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(runs, 0) << "nothing released while the user-interface thread is busy";
  int code = EndedBy([] { headless::RunUntil([] { return false; }, std::chrono::seconds(10)); });
  EXPECT_EQ(code, 7);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(routineThread, std::this_thread::get_id());
  EXPECT_EQ(headless::EndedExitCode(), 7);
  EXPECT_FALSE(workerWentOn);
}

TEST_F(ProgramEnd, EndsFromTwoThreadsRunTheRoutineOnce) {
  RegisterExitRoutine([] { ++runs; });
  std::thread([] { EndProgram(5); }).detach();
  EXPECT_EQ(EndedBy([] { EndProgram(6); }), 6);
  EXPECT_EQ(EndedBy([] { headless::RunUntil([] { return false; }, std::chrono::seconds(2)); }), 5);
  EXPECT_EQ(runs, 1);
}

TEST(ShowMessage, AddsTaskModalityAndReturnsTheButton) {
  headless::ResetFrame();
  headless::QueueAnswer(kIdOk);
  headless::QueueAnswer(kIdCancel);
  EXPECT_EQ(ShowMessage("a", 0x41), kIdOk);
  EXPECT_EQ(ShowMessage(12, 0x41, "标题"), kIdCancel);
  EXPECT_EQ(ShowMessage(true, kMbSystemModal), kIdOk);
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].flags, 0x41 | kMbTaskModal);
  EXPECT_EQ(boxes[0].caption, "信息：");
  EXPECT_EQ(boxes[1].text, "12");
  EXPECT_EQ(boxes[1].caption, "标题");
  EXPECT_EQ(boxes[2].text, "真");
  EXPECT_EQ(boxes[2].flags, kMbSystemModal);
}

TEST(ProcessEvents, RunsPostedTasksInOrderIncludingOnesTheyPost) {
  headless::ResetFrame();
  std::vector<int> order;
  headless::Post([&] {
    order.push_back(1);
    headless::Post([&] { order.push_back(3); });
  });
  headless::Post([&] { order.push_back(2); });
  ProcessEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(headless::PendingTasks(), 0);
}

}  // namespace
}  // namespace kesto
