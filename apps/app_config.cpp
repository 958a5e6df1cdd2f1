// AppConfig over qmztx.ini, through the profile-file and native-window services.
#include "apps/app_config.h"

#include "runtime/native.h"
#include "shell/platform_info.h"
#include "shell/program_windows.h"

namespace kesto {

namespace {
constexpr char kFileName[] = "\\qmztx.ini";
constexpr char kHandleSection[] = "jb";
constexpr char kWmSection[] = "wm";
constexpr char kAppSection[] = "app";
}  // namespace

void AppConfig::Destroy() {
  configPath_.clear();
}

std::unique_ptr<AppConfig> AppConfig::Clone() {
  auto copy = std::make_unique<AppConfig>();
  copy->configPath_ = configPath_;
  return copy;
}

bool AppConfig::ListHandleKeys(Array<Text>& keys) {
  keys.Clear();
  Text path = UpdateConfigPath();
  if (!FileExists(path)) return false;
  Text content = ToText(ReadFileBytes(path));
  int header = FindText(content, "[jb]");
  // Without the header there is no section to list.
  if (header == -1) return true;
  int bodyStart = header + 4;
  int bodyEnd = FindText(content, "[", bodyStart);
  Text body = bodyEnd == -1 ? MidText(content, bodyStart, TextLength(content))
                            : MidText(content, bodyStart, bodyEnd - bodyStart);
  for (const Text& line : SplitText(body, "\r\n")) {
    int equals = FindText(line, "=");
    keys.Append(equals == -1 ? Text{} : LeftText(line, equals - 1));
  }
  return true;
}

Text AppConfig::GetConfigPath() {
  return UpdateConfigPath();
}

// Only a window of the key's own program is asked to close: a reused handle may name another
// program's window, or this process's, which must not be closed from under it.
void AppConfig::CloseRegisteredWindow(const Text& key) {
  int handle = GetWindowHandle(key);
  if (shell::IsProgramWindow(handle, key) && !shell::IsOwnWindow(handle)) PostClose(handle);
}

void AppConfig::PostClose(int handle) {
  native::PostMessage(handle, native::kWmClose, 0, 0);
}

void AppConfig::SetWindowHandle(const Text& key, int handle) {
  WriteIniValue(UpdateConfigPath(), kHandleSection, key, ToText(handle));
}

int AppConfig::GetWindowHandle(const Text& key) {
  return ToInteger(ReadIniValue(UpdateConfigPath(), kHandleSection, key));
}

Text AppConfig::ReadWmValue(const Text& key) {
  return ReadIniValue(UpdateConfigPath(), kWmSection, key);
}

void AppConfig::WriteWmValue(const Text& key, const Text& value) {
  WriteIniValue(UpdateConfigPath(), kWmSection, key, value);
}

Text AppConfig::GetRun() {
  return ReadWmValue("run");
}
void AppConfig::SetRun(const Text& value) {
  WriteWmValue("run", value);
}
Text AppConfig::GetName() {
  return ReadWmValue("name");
}
void AppConfig::SetName(const Text& value) {
  WriteWmValue("name", value);
}

Text AppConfig::UpdateConfigPath() {
  Text folder = CurrentDirectory();
  if (FindText(folder + "\\", "\\app\\") != -1)
    folder = shell::ParentFolder(shell::ParentFolder(folder));
  configPath_ = folder + kFileName;
  return configPath_;
}

void AppConfig::AddAppName(const Text& name) {
  Text names = GetAppNames();
  WriteIniValue(configPath_, kAppSection, "an", names.empty() ? name : names + "," + name);
}

Text AppConfig::GetAppNames() {
  return ReadIniValue(UpdateConfigPath(), kAppSection, "an");
}

}  // namespace kesto
