// The browser command of the HTML interface box, and what tests see of the browsers.
#include <algorithm>

#include "runtime/headless/controls_state.h"

namespace kesto {

using headless::detail::Control;
using headless::detail::Window;

namespace ui {

void Execute(const Ref& box, int command) {
  headless::detail::OnControl(box, [&](Window&, Control& c) { c.commands.push_back(command); });
}

}  // namespace ui

namespace headless {

std::vector<Text> Navigations(const ui::Ref& box) {
  return detail::IfControl(box, std::vector<Text>{},
                           [](Window&, Control& c) { return c.navigations; });
}

std::vector<int> Commands(const ui::Ref& box) {
  return detail::IfControl(box, std::vector<int>{}, [](Window&, Control& c) { return c.commands; });
}

int RefreshCount(const ui::Ref& box) {
  std::vector<int> commands = Commands(box);
  return static_cast<int>(std::count(commands.begin(), commands.end(), int{ui::kRefresh}));
}

}  // namespace headless

}  // namespace kesto
