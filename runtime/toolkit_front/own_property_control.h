// A control type with one property of its own (at `kIndex`), over a toolkit's control.
#pragma once

#include <optional>

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

template <class ToolkitControl, int kIndex>
class OwnPropertyControl : public ToolkitControl {
 public:
  using ToolkitControl::ToolkitControl;

  std::optional<ui::Value> Read(int index) override {
    if (index != kIndex) return std::nullopt;
    return ReadOwn();
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != kIndex) return false;
    WriteOwn(value);
    return true;
  }

 protected:
  virtual ui::Value ReadOwn() = 0;
  virtual void WriteOwn(const ui::Value& value) = 0;
};

}  // namespace kesto::front
