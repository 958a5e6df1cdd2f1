// The rounded-rectangle outline of a window as horizontal spans, one per row: the area from
// (0, 0) up to but not including (width, height) with corner ellipses `radius` pixels across.
#pragma once

#include <vector>

namespace kesto::gtk {

struct RowSpan {
  int y = 0;
  int left = 0;   // first pixel inside
  int right = 0;  // one past the last pixel inside
};

// Empty for an empty area.
std::vector<RowSpan> RoundRectSpans(int width, int height, int radius);

}  // namespace kesto::gtk
