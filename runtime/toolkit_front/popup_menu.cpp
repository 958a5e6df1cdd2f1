// A window's menu popped up: the menu is found by name among the window's menus and their
// submenus; one without items does not pop up.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::front {

namespace {

const ui::MenuLayout* FindMenu(const std::vector<ui::MenuLayout>& menus, const Text& name) {
  for (const ui::MenuLayout& menu : menus) {
    if (menu.name == name) return &menu;
    if (const ui::MenuLayout* inner = FindMenu(menu.children, name)) return inner;
  }
  return nullptr;
}

}  // namespace

}  // namespace kesto::front

namespace kesto::ui {

void PopupMenu(const Text& window, const Text& menu, std::optional<int> x, std::optional<int> y) {
  front::RunOnUiThread([&] {
    front::LoadedWindow& loaded = front::LoadedWindowOrFail(window);
    const MenuLayout* layout = front::FindMenu(loaded.layout().menus, menu);
    if (!layout || layout->children.empty()) return;
    front::ShowPopupMenu(loaded, *layout, x, y);
  });
}

}  // namespace kesto::ui
