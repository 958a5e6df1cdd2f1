// A control's place and size as last set, for toolkits whose native control does not give them
// back as set (a GTK widget's allocation lags behind; a headless control has none).
#pragma once

#include <optional>

#include "runtime/layout.h"

namespace kesto::front {

struct ControlPlace {
  explicit ControlPlace(const ui::ControlLayout& layout)
      : left(layout.left), top(layout.top), width(layout.width), height(layout.height) {}

  // The value at a geometry index (left, top, width, height); nullopt for any other index.
  std::optional<int> Read(int index) const;
  // False for any other index.
  bool Write(int index, int value);

  int left, top, width, height;
};

}  // namespace kesto::front
