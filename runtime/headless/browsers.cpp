// What tests see of the browsers.
#include <algorithm>

#include "runtime/headless/control_types.h"

namespace kesto {

namespace headless {

std::vector<Text> Navigations(const ui::Ref& box) {
  const detail::Browser* browser = detail::FindControlOf<detail::Browser>(box);
  return browser ? browser->navigations : std::vector<Text>{};
}

std::vector<int> Commands(const ui::Ref& box) {
  const detail::Browser* browser = detail::FindControlOf<detail::Browser>(box);
  return browser ? browser->commands : std::vector<int>{};
}

int RefreshCount(const ui::Ref& box) {
  std::vector<int> commands = Commands(box);
  return static_cast<int>(std::count(commands.begin(), commands.end(), int{ui::kRefresh}));
}

}  // namespace headless

}  // namespace kesto
