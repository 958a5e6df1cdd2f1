// The page container's current page over a toolkit's control; the toolkit shows the page.
#pragma once

#include "runtime/toolkit_front/own_property_control.h"

namespace kesto::front {

template <class ToolkitControl>
class TabPages : public OwnPropertyControl<ToolkitControl, ui::prop::tab::kCurrentPage> {
 public:
  using OwnPropertyControl<ToolkitControl, ui::prop::tab::kCurrentPage>::OwnPropertyControl;

 protected:
  ui::Value ReadOwn() override { return CurrentPage(); }

  void WriteOwn(const ui::Value& value) override { SetPage(ui::IntOf(value)); }

  // A page that does not exist leaves the current one shown.
  void SetPage(int page) {
    if (page < 0 || page >= PageCount()) return;
    ShowPage(page);
  }

  virtual int CurrentPage() const = 0;
  virtual int PageCount() const = 0;
  virtual void ShowPage(int page) = 0;
};

}  // namespace kesto::front
