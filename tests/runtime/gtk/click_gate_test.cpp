#include "runtime/gtk/click_gate.h"

#include <gtest/gtest.h>

namespace kesto::gtk {
namespace {

using Decision = ClickGate::Decision;

TEST(ClickGate, CancelledClickDropsTheNavigationThatFollowsIt) {
  ClickGate gate;
  gate.ClickStarted();
  gate.ClickAnswered(false, 1000);
  EXPECT_EQ(gate.ForUserNavigation(1010), Decision::kIgnore);
  // Used up: the user's next navigation goes through.
  EXPECT_EQ(gate.ForUserNavigation(1020), Decision::kAllow);
}

TEST(ClickGate, AllowedOrOldVerdictsLetNavigationsGo) {
  ClickGate gate;
  EXPECT_EQ(gate.ForUserNavigation(0), Decision::kAllow) << "no click at all";
  gate.ClickStarted();
  gate.ClickAnswered(true, 1000);
  EXPECT_EQ(gate.ForUserNavigation(1001), Decision::kAllow);
  gate.ClickStarted();
  gate.ClickAnswered(false, 2000);
  EXPECT_EQ(gate.ForUserNavigation(2000 + ClickGate::kVerdictLifeMs + 1), Decision::kAllow)
      << "a cancel long ago says nothing about a later navigation";
}

TEST(ClickGate, NavigationsWaitWhileTheHandlerRunsAndShareItsVerdict) {
  ClickGate gate;
  gate.ClickStarted();
  EXPECT_EQ(gate.ForUserNavigation(5), Decision::kWait);
  EXPECT_EQ(gate.ForWaitingNavigations(), Decision::kWait);
  gate.ClickAnswered(false, 10);
  EXPECT_EQ(gate.ForWaitingNavigations(), Decision::kIgnore);
  EXPECT_EQ(gate.ForUserNavigation(11), Decision::kAllow) << "the waiting ones used it up";
}

TEST(ClickGate, ClickInsideARunningHandlerDoesNotReleaseTheOuterClick) {
  // The outer handler pumps events; a second click arrives and its handler (busy) lets the page
  // go on. The outer click's answer still decides.
  ClickGate gate;
  gate.ClickStarted();
  gate.ClickStarted();
  gate.ClickAnswered(true, 10);
  EXPECT_TRUE(gate.Pending());
  EXPECT_EQ(gate.ForUserNavigation(11), Decision::kWait);
  gate.ClickAnswered(false, 20);
  EXPECT_FALSE(gate.Pending());
  EXPECT_EQ(gate.ForWaitingNavigations(), Decision::kIgnore);
}

TEST(ClickGate, AnAnswerWithoutAClickChangesNothing) {
  ClickGate gate;
  gate.ClickAnswered(false, 10);
  EXPECT_FALSE(gate.Pending());
  EXPECT_EQ(gate.ForUserNavigation(11), Decision::kAllow);
}

}  // namespace
}  // namespace kesto::gtk
