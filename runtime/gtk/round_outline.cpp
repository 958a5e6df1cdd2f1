#include "runtime/gtk/round_outline.h"

#include <algorithm>
#include <cmath>

namespace kesto::gtk {

std::vector<RowSpan> RoundRectSpans(int width, int height, int radius) {
  std::vector<RowSpan> spans;
  if (width <= 0 || height <= 0) return spans;
  // The corner ellipse cannot be larger than the area itself.
  const double rx = std::min(std::max(radius, 0), width) / 2.0;
  const double ry = std::min(std::max(radius, 0), height) / 2.0;
  spans.reserve(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const double centre_y = y + 0.5;
    double dy = 0;  // distance into the corner band, measured from the ellipse's centre line
    if (centre_y < ry) dy = ry - centre_y;
    if (centre_y > height - ry) dy = centre_y - (height - ry);
    int inset = 0;
    if (dy > 0 && ry > 0) {
      const double t = std::min(dy / ry, 1.0);
      inset = static_cast<int>(std::lround(rx - rx * std::sqrt(1.0 - t * t)));
    }
    inset = std::min(inset, (width - 1) / 2);
    spans.push_back({y, inset, width - inset});
  }
  return spans;
}

}  // namespace kesto::gtk
