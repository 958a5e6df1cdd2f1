#include "shell/globals.h"

#include <gtest/gtest.h>

namespace kesto::shell {
namespace {

TEST(Globals, StartWithTheirInitialValuesAndAreReleasedWhole) {
  InitGlobals();
  EXPECT_EQ(InstalledApps.Count(), 0);
  ASSERT_NE(AppConfig, nullptr);
  EXPECT_EQ(AppConfig->configPath(), "");
  EXPECT_EQ(PlatformInfo, (Array<Text>{"", "", "", "", "", ""}));
  EXPECT_FALSE(PanelPointerSeen);
  EXPECT_FALSE(PanelActionBusy);

  InstalledApps.Append("tool");
  PlatformInfo[kWebSite] = "www.example.com";
  PanelActionBusy = true;
  ReleaseGlobals();
  EXPECT_EQ(InstalledApps.Count(), 0);
  EXPECT_EQ(AppConfig, nullptr);
  EXPECT_EQ(PlatformInfo.Count(), 0);

  // A second start begins from the initial values again.
  InitGlobals();
  EXPECT_EQ(PlatformInfo.Count(), 6);
  EXPECT_FALSE(PanelActionBusy);
  ReleaseGlobals();
}

}  // namespace
}  // namespace kesto::shell
