// The global state every handler shares, from the process entry to the exit routine.
#pragma once

#include <memory>

#include "apps/app_config.h"
#include "runtime/core.h"

namespace kesto::shell {

// Application keys in the order of the rows of the installed-applications list.
extern Array<Text> InstalledApps;
// The configuration-file object; null before InitGlobals and after ReleaseGlobals. (Inside
// namespace kesto::shell this name is the object; the class is kesto::AppConfig.)
extern std::unique_ptr<kesto::AppConfig> AppConfig;
// Exactly six texts, in the order of the PlatformField indices below.
extern Array<Text> PlatformInfo;
extern bool PanelPointerSeen;
extern bool PanelActionBusy;

// 1-based indices into PlatformInfo.
enum PlatformField : int {
  kServiceNumber = 1,
  kCompanyName = 2,
  kWebSite = 3,
  kPurchasePage = 4,
  kAdPage = 5,
  kSpareField = 6,
};

// Creates the global state with its initial values (an empty list, a path-less AppConfig, six
// empty texts, both flags false).
void InitGlobals();
// The exit routine: releases everything InitGlobals created.
void ReleaseGlobals();

}  // namespace kesto::shell
