// A window's menu popped up at the pointer: its items as a Win32 pop-up menu, the chosen one
// reported as the item's chosen event once the menu has gone.
#include <vector>

#include "runtime/toolkit_front/back_end.h"
#include "runtime/win32/toolkit/loaded_windows.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

// Item identifiers are 1-based positions in `items`.
HMENU BuildMenu(const ui::MenuLayout& layout, std::vector<Text>& items) {
  HMENU menu = CreatePopupMenu();
  for (const ui::MenuLayout& child : layout.children) {
    if (!child.visible) continue;
    const std::wstring caption = ToWide(child.name);
    if (!child.children.empty()) {
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(BuildMenu(child, items)),
                  caption.c_str());
    } else {
      items.push_back(child.name);
      AppendMenuW(menu, MF_STRING, items.size(), caption.c_str());
    }
  }
  return menu;
}

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

void ShowPopupMenu(LoadedWindow& loaded, const ui::MenuLayout& layout, std::optional<int> x,
                   std::optional<int> y) {
  auto& window = static_cast<win32::LoadedWindow&>(loaded);
  std::vector<Text> items;
  HMENU menu = win32::BuildMenu(layout, items);
  POINT pointer{};
  GetCursorPos(&pointer);
  auto keep = window.shared_from_this();
  // Without being in front the menu would not close when the user clicks elsewhere (a menu of
  // the notification area's entry).
  SetForegroundWindow(window.hwnd());
  const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                          x.value_or(pointer.x + kMenuOffsetFromPointer),
                                          y.value_or(pointer.y + kMenuOffsetFromPointer), 0,
                                          window.hwnd(), nullptr));
  PostMessageW(window.hwnd(), WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen >= 1 && chosen <= items.size() && window.hwnd()) {
    window.Fire(items[chosen - 1], ui::Event::kMenuChosen);
  }
}

}  // namespace kesto::front
