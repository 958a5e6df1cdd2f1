// The notification-area entry and pop-up menus with scripted choices.
#include "runtime/gbk_chars.h"
#include "runtime/headless/controls_state.h"
#include "runtime/headless/frame.h"

namespace kesto {

using headless::detail::State;
using headless::detail::Window;

namespace {
// The tip holds at most 62 bytes, cut without splitting a two-byte character.
Text CutTip(const Text& tip) {
  return Text(gbk::CutToBytes(tip, 62));
}

// The item of the window's menu `menu` whose caption is `item`, if any.
bool MenuHasItem(const Window& w, const Text& menu, const Text& item) {
  for (const ui::MenuLayout& top : w.layout->menus) {
    if (top.name != menu) continue;
    for (const ui::MenuLayout& child : top.children) {
      if (child.name == item) return true;
    }
  }
  return false;
}

bool HasMenu(const Window& w, const Text& menu) {
  for (const ui::MenuLayout& top : w.layout->menus) {
    if (top.name == menu) return true;
  }
  return false;
}
}  // namespace

namespace ui {

bool TrayAvailable() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().trayAvailable;
}

void SetTrayIcon(const Text& window, std::optional<Bytes> icon, std::optional<Text> tip) {
  std::lock_guard<std::mutex> guard(State().lock);
  auto& tray = State().tray;
  if (!headless::detail::FindWindow(window)) return;
  // An empty icon cannot be shown: it counts as none.
  if (!icon || icon->empty()) {
    if (tray && tray->window == window) tray.reset();
    return;
  }
  if (!tray) {
    tray = headless::TrayView{window, *icon, CutTip(tip.value_or("")), 1, 0};
  } else {
    tray->window = window;
    tray->icon = *icon;
    tray->tip = CutTip(tip.value_or(""));
    ++tray->modifies;
  }
}

// Menus here close at once with the scripted choice; as on a real toolkit the chosen item's
// event arrives after PopupMenu has returned.
void PopupMenu(const Text& window, const Text& menu, std::optional<int> x, std::optional<int> y) {
  std::optional<Text> chosen;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = headless::detail::FindWindow(window);
    if (!w || !HasMenu(*w, menu)) return;
    auto& choices = State().menuChoices;
    if (!choices.empty()) {
      chosen = choices.front();
      choices.pop_front();
    }
    if (chosen && !MenuHasItem(*w, menu, *chosen)) chosen.reset();
    State().popups.push_back({window, menu, x, y, chosen});
  }
  if (chosen) {
    headless::Post([window, item = *chosen] {
      headless::Fire({window, item}, Event::kMenuChosen);
    });
  }
}

}  // namespace ui

namespace headless {

void ChooseMenu(std::optional<Text> item) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().menuChoices.push_back(std::move(item));
}

std::vector<PopupRecord> Popups() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().popups;
}

std::optional<TrayView> TrayEntry() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().tray;
}

void SetTrayAvailable(bool available) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().trayAvailable = available;
}

}  // namespace headless

}  // namespace kesto
