#include "runtime/toolkit_front/link_box.h"

namespace kesto::front {

std::uint32_t LinkColour(const ui::ControlLayout& layout, bool hovered, bool visited) {
  const std::vector<std::uint32_t>& colours = layout.linkColours;
  const std::size_t slot = visited ? 2 : hovered ? 1 : 0;
  if (slot < colours.size() && colours[slot] != ui::kDefaultColour) return colours[slot];
  return visited ? 0x800080 : 0x0000FF;
}

}  // namespace kesto::front
