#include "tests/runtime/toolkit_conformance/drag.h"

#include <string>

namespace kesto::testing::desktop {

void Drag(Point from, int dx, int dy) {
  std::string drag = "mousemove " + std::to_string(from.x) + " " + std::to_string(from.y) +
                     " sleep 0.1 mousedown 1 sleep 0.1";
  for (int step = 1; step <= 5; ++step) {
    drag += " mousemove " + std::to_string(from.x + dx * step / 5) + " " +
            std::to_string(from.y + dy * step / 5) + " sleep 0.05";
  }
  XDo(drag + " mouseup 1");
}

}  // namespace kesto::testing::desktop
