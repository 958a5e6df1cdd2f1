// The link box over a toolkit's control: its web address, its colour (normal, under the pointer,
// visited) and its press. A press runs the handler first and then, unless the handler said
// false, opens the address in the default web browser.
#pragma once

#include <cstdint>

#include "runtime/toolkit_front/own_property_control.h"

namespace kesto::front {

// The link colour the layout gives for the state, or the usual blue and purple.
std::uint32_t LinkColour(const ui::ControlLayout& layout, bool hovered, bool visited);

template <class ToolkitControl>
class LinkBox : public OwnPropertyControl<ToolkitControl, ui::prop::hyperlinker::kWebAddress> {
 public:
  using OwnPropertyControl<ToolkitControl, ui::prop::hyperlinker::kWebAddress>::OwnPropertyControl;

 protected:
  std::uint32_t Colour() const { return LinkColour(this->layout(), hovered_, visited_); }

  // A press of the left button at the place and key state in `args`; gives the handler's
  // result.
  ui::EventResult Press(const ui::EventArgs& args) {
    auto keep = this->Hold();
    const ui::EventResult result = this->Fire(ui::Event::kLeftButtonDown, args);
    if (result == false || !StandsAfterHandler()) return result;
    if (OpenInBrowser(address_)) {
      visited_ = true;
      Redraw();
    }
    return result;
  }

  ui::Value ReadOwn() override { return address_; }

  void WriteOwn(const ui::Value& value) override { address_ = ui::TextOf(value); }

  // Whether the control still stands after its handler ran (the handler may close its window).
  virtual bool StandsAfterHandler() const = 0;
  // Opens the address in the default web browser; false when that failed.
  virtual bool OpenInBrowser(const Text& address) = 0;
  virtual void Redraw() = 0;

  bool hovered_ = false;

 private:
  Text address_;
  bool visited_ = false;
};

}  // namespace kesto::front
