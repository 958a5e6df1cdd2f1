// The global state and its creation and release.
#include "shell/globals.h"

namespace kesto::shell {

Array<Text> InstalledApps;
std::unique_ptr<kesto::AppConfig> AppConfig;
Array<Text> PlatformInfo;
bool PanelPointerSeen = false;
bool PanelActionBusy = false;

void InitGlobals() {
  InstalledApps.Clear();
  AppConfig = std::make_unique<kesto::AppConfig>();
  PlatformInfo = Array<Text>{"", "", "", "", "", ""};
  PanelPointerSeen = false;
  PanelActionBusy = false;
}

void ReleaseGlobals() {
  InstalledApps.Clear();
  if (AppConfig) AppConfig->Destroy();
  AppConfig.reset();
  PlatformInfo.Clear();
}

}  // namespace kesto::shell
