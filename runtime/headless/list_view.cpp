// The ListView methods: rows with a caption, an icon, a state image, an indent and a stored
// integer, and the selection that follows its row when rows are inserted before it.
#include "runtime/headless/controls_state.h"

namespace kesto {

using headless::detail::Control;
using headless::detail::OnControl;
using headless::detail::Window;

namespace ui {

int ListItemCount(const Ref& list) {
  return OnControl(list, [](Window&, Control& c) { return static_cast<int>(c.rows.size()); });
}

void ListDeleteAll(const Ref& list) {
  OnControl(list, [](Window&, Control& c) {
    c.rows.clear();
    c.selected = -1;
  });
}

int ListInsertItem(const Ref& list, std::optional<int> position, const Text& caption, int iconIndex,
                   std::optional<int> stateImageIndex, std::optional<int> indent,
                   std::optional<int> itemValue) {
  return OnControl(list, [&](Window&, Control& c) {
    int count = static_cast<int>(c.rows.size());
    int at = position && *position >= 0 && *position < count ? *position : count;
    headless::Row row{caption, iconIndex < -1 ? -1 : iconIndex, stateImageIndex,
                      indent && *indent > 0 ? *indent : 0, itemValue};
    c.rows.insert(c.rows.begin() + at, std::move(row));
    if (c.selected >= at) ++c.selected;
    return at;
  });
}

}  // namespace ui

namespace headless {

std::vector<Row> Rows(const ui::Ref& list) {
  return detail::IfControl(list, std::vector<Row>{}, [](Window&, Control& c) { return c.rows; });
}

}  // namespace headless

}  // namespace kesto
