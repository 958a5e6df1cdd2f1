// The progress bar's position over a toolkit's control: the layout's at first, a written one
// held within the bar's range. The toolkit shows it.
#pragma once

#include <algorithm>

#include "runtime/toolkit_front/own_property_control.h"

namespace kesto::front {

template <class ToolkitControl>
class ProgressBarPosition
    : public OwnPropertyControl<ToolkitControl, ui::prop::processbar::kPosition> {
 public:
  using OwnPropertyControl<ToolkitControl, ui::prop::processbar::kPosition>::OwnPropertyControl;

 protected:
  ui::Value ReadOwn() override { return position_; }

  void WriteOwn(const ui::Value& value) override {
    const ui::ControlLayout& layout = this->layout();
    position_ =
        std::clamp(ui::IntOf(value), layout.rangeMin, std::max(layout.rangeMin, layout.rangeMax));
    ShowPosition();
  }

  int position() const { return position_; }
  // Shows position() on the native bar.
  virtual void ShowPosition() = 0;

 private:
  int position_ = this->layout().position;
};

}  // namespace kesto::front
