#include "runtime/toolkit_front/control_place.h"

#include "runtime/ui.h"

namespace kesto::front {

namespace {

// The member a geometry index names; nullptr for any other index.
template <class Place>
auto* Member(Place& place, int index) {
  switch (index) {
    case ui::prop::kLeft:
      return &place.left;
    case ui::prop::kTop:
      return &place.top;
    case ui::prop::kWidth:
      return &place.width;
    case ui::prop::kHeight:
      return &place.height;
    default:
      return static_cast<decltype(&place.left)>(nullptr);
  }
}

}  // namespace

std::optional<int> ControlPlace::Read(int index) const {
  if (const int* value = Member(*this, index)) return *value;
  return std::nullopt;
}

bool ControlPlace::Write(int index, int value) {
  int* member = Member(*this, index);
  if (!member) return false;
  *member = value;
  return true;
}

}  // namespace kesto::front
