// The list entry points: a reference to anything but a list view does nothing.
#include "runtime/toolkit_front/list_items.h"

#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::front {

namespace {

ListItems* ListOrNull(const ui::Ref& ref) {
  return dynamic_cast<ListItems*>(&ControlOrFail(ref));
}

}  // namespace

}  // namespace kesto::front

namespace kesto::ui {

int ListItemCount(const Ref& list) {
  int count = 0;
  front::RunOnUiThread([&] {
    if (front::ListItems* view = front::ListOrNull(list)) count = view->Count();
  });
  return count;
}

void ListDeleteAll(const Ref& list) {
  front::RunOnUiThread([&] {
    if (front::ListItems* view = front::ListOrNull(list)) view->DeleteAll();
  });
}

// A negative position, or one past the end, appends.
int ListInsertItem(const Ref& list, std::optional<int> position, const Text& caption, int iconIndex,
                   std::optional<int> stateImageIndex, std::optional<int> indent,
                   std::optional<int> itemValue) {
  int row = -1;
  front::RunOnUiThread([&] {
    if (front::ListItems* view = front::ListOrNull(list)) {
      const int count = view->Count();
      int at = position.value_or(-1);
      if (at < 0 || at > count) at = count;
      row = view->InsertAt(at, caption, iconIndex, stateImageIndex, indent, itemValue.value_or(0));
    }
  });
  return row;
}

}  // namespace kesto::ui
