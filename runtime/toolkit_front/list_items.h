// The rows of a list view as the list entry points see them; each toolkit's list view gives
// them.
#pragma once

#include <optional>

#include "runtime/core.h"

namespace kesto::front {

class ListItems {
 public:
  virtual ~ListItems() = default;

  virtual int Count() const = 0;
  virtual void DeleteAll() = 0;
  // Puts a row at `position` (0 to Count()); gives the row it went to, -1 when none.
  virtual int InsertAt(int position, const Text& caption, int iconIndex,
                       std::optional<int> stateImage, std::optional<int> indent, int itemValue) = 0;
};

}  // namespace kesto::front
