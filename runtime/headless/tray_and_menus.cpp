// The notification-area entry and pop-up menus with scripted choices.
#include "runtime/headless/frame.h"
#include "runtime/headless/loaded_windows.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto {

using headless::detail::State;
using headless::detail::Window;

namespace {
// Whether the menu has an item of that caption.
bool MenuHasItem(const ui::MenuLayout& menu, const Text& item) {
  for (const ui::MenuLayout& child : menu.children) {
    if (child.name == item) return true;
  }
  return false;
}
}  // namespace

namespace ui {

bool TrayAvailable() {
  bool available = false;
  front::RunOnUiThread([&] { available = State().trayAvailable; });
  return available;
}

}  // namespace ui

// One entry at a time, whichever window's it is.
void front::ShowTrayEntry(LoadedWindow& window, const Bytes& icon, const Text& tip) {
  auto& tray = State().tray;
  if (!tray) {
    tray = headless::TrayView{window.layout().name, icon, tip, 1, 0};
  } else {
    tray->window = window.layout().name;
    tray->icon = icon;
    tray->tip = tip;
    ++tray->modifies;
  }
  State().trayOwner = std::static_pointer_cast<Window>(window.shared_from_this());
}

// Menus here close at once with the scripted choice; as on a real toolkit the chosen item's
// event arrives after the menu has gone.
void front::ShowPopupMenu(LoadedWindow& window, const ui::MenuLayout& menu, std::optional<int> x,
                          std::optional<int> y) {
  std::optional<Text> chosen;
  auto& choices = State().menuChoices;
  if (!choices.empty()) {
    chosen = choices.front();
    choices.pop_front();
  }
  if (chosen && !MenuHasItem(menu, *chosen)) chosen.reset();
  const Text& name = window.layout().name;
  State().popups.push_back({name, menu.name, x, y, chosen});
  if (!chosen) return;
  headless::Post([name, item = *chosen] { headless::Fire({name, item}, ui::Event::kMenuChosen); });
}

namespace headless {

void ChooseMenu(std::optional<Text> item) {
  State().menuChoices.push_back(std::move(item));
}

std::vector<PopupRecord> Popups() {
  return State().popups;
}

std::optional<TrayView> TrayEntry() {
  return State().tray;
}

void SetTrayAvailable(bool available) {
  State().trayAvailable = available;
}

}  // namespace headless

}  // namespace kesto
