// The label's text over a toolkit's control: the layout's at first, then as written; the
// toolkit draws it.
#pragma once

#include <cstdint>

#include "runtime/toolkit_front/own_property_control.h"

namespace kesto::front {

template <class ToolkitControl>
class LabelText : public OwnPropertyControl<ToolkitControl, ui::prop::translabel::kText> {
 public:
  using OwnPropertyControl<ToolkitControl, ui::prop::translabel::kText>::OwnPropertyControl;

 protected:
  ui::Value ReadOwn() override { return text_; }

  void WriteOwn(const ui::Value& value) override {
    text_ = ui::TextOf(value);
    Redraw();
  }

  const Text& text() const { return text_; }
  // The transparent label draws only its text and lets the pointer through.
  bool Transparent() const { return this->layout().type == ui::ControlType::kTransLabel; }
  std::uint32_t TextColour() const {
    const std::uint32_t colour = this->layout().textColour;
    return colour == ui::kDefaultColour ? 0x000000 : colour;
  }

  virtual void Redraw() = 0;

 private:
  Text text_ = this->layout().text;
};

}  // namespace kesto::front
