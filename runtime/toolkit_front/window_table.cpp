#include "runtime/toolkit_front/window_table.h"

#include "runtime/toolkit_front/back_end.h"

namespace kesto::front {

namespace {

constexpr char kWindowNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kControlNotCreated[] = "指定窗口尚未载入";

std::map<Text, std::shared_ptr<LoadedWindow>>& Registry() {
  static std::map<Text, std::shared_ptr<LoadedWindow>> windows;
  return windows;
}

}  // namespace

std::shared_ptr<LoadedWindow> FindLoadedWindow(const Text& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}

const std::map<Text, std::shared_ptr<LoadedWindow>>& LoadedWindows() {
  return Registry();
}

int LoadedWindowCount() {
  return static_cast<int>(Registry().size());
}

void RegisterLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  Registry()[window->layout().name] = window;
}

void DestroyLoadedWindow(const std::shared_ptr<LoadedWindow>& window) {
  if (!window || window->destroying || !window->HasNative()) return;
  window->destroying = true;
  // The window goes even when its handler ends the program there (the headless toolkit then
  // throws): the exit routine must not find it loaded.
  struct Remove {
    const std::shared_ptr<LoadedWindow>& window;
    ~Remove() {
      window->RemoveTrayEntry();
      const Text& name = window->layout().name;
      if (FindLoadedWindow(name) == window) Registry().erase(name);
      window->DestroyNative();
      if (Registry().empty()) EndMessageLoop();
    }
  } remove{window};
  window->Fire("", ui::Event::kDestroying);
}

void ForgetLoadedWindows() {
  std::map<Text, std::shared_ptr<LoadedWindow>> windows;
  windows.swap(Registry());
  for (const auto& [name, window] : windows) {
    if (window->HasNative()) window->DestroyNative();
  }
}

LoadedWindow& LoadedWindowOrFail(const Text& window) {
  std::shared_ptr<LoadedWindow> loaded = FindLoadedWindow(window);
  if (!loaded) FatalError(0, kWindowNotLoaded);
  return *loaded;
}

Control& ControlOrFail(const ui::Ref& ref) {
  Control* control = LoadedWindowOrFail(ref.window).FindControl(ref.control);
  if (!control || !control->HasNative()) FatalError(0, kControlNotCreated);
  return *control;
}

}  // namespace kesto::front
