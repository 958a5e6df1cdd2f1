// The list view's properties over a toolkit's control: its image list, which is the layout's own
// pictures until one is set, and its selected row. The toolkit shows them.
#pragma once

#include <optional>

#include "runtime/toolkit_front/list_items.h"
#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

// The image list of the layout's pictures; empty when it has none.
Bytes LayoutImageList(const ui::ControlLayout& layout);

template <class ToolkitControl>
class ListViewProperties : public ToolkitControl, public ListItems {
 public:
  using ToolkitControl::ToolkitControl;

  std::optional<ui::Value> Read(int index) override {
    if (index == ui::prop::listview::kImageList) return ImageList();
    if (index == ui::prop::listview::kSelectedIndex) return SelectedRow();
    return std::nullopt;
  }

  bool Write(int index, const ui::Value& value) override {
    if (index == ui::prop::listview::kImageList) {
      SetImageList(ui::BytesOf(value));
      return true;
    }
    if (index == ui::prop::listview::kSelectedIndex) {
      SelectRow(ui::IntOf(value));
      return true;
    }
    return false;
  }

 protected:
  // The layout's own pictures are only put together when something asks for them; the first
  // refresh of the list replaces them anyway.
  const Bytes& ImageList() {
    if (!imageList_) imageList_ = LayoutImageList(this->layout());
    return *imageList_;
  }

  // The rows keep their icon indices and show the pictures of the new list.
  void SetImageList(const Bytes& list) {
    imageList_ = list;
    ShowImageList(*imageList_);
  }

  // A row that does not exist leaves nothing selected.
  void SelectRow(int row) {
    ClearSelection();
    if (row < 0 || row >= Count()) return;
    MarkSelected(row);
  }

  virtual void ShowImageList(const Bytes& list) = 0;
  // The selected row; -1 when none is.
  virtual int SelectedRow() const = 0;
  virtual void ClearSelection() = 0;
  virtual void MarkSelected(int row) = 0;

 private:
  std::optional<Bytes> imageList_;
};

}  // namespace kesto::front
