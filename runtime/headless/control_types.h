// The headless control types whose state tests look at: link boxes, list views and browsers.
#pragma once

#include "runtime/headless/loaded_windows.h"
#include "runtime/toolkit_front/browser_box.h"
#include "runtime/toolkit_front/link_box.h"
#include "runtime/toolkit_front/list_view_properties.h"

namespace kesto::headless::detail {

// Opening an address in the default browser is recorded (OpenedLinks).
class LinkBox : public front::LinkBox<Control> {
 public:
  using front::LinkBox<Control>::LinkBox;
  using front::LinkBox<Control>::Press;

 private:
  bool StandsAfterHandler() const override;
  bool OpenInBrowser(const Text& address) override;
  void Redraw() override {}
};

class ListView : public front::ListViewProperties<Control> {
 public:
  using front::ListViewProperties<Control>::ListViewProperties;
  using front::ListViewProperties<Control>::SelectRow;

  int Count() const override { return static_cast<int>(rows_.size()); }
  void DeleteAll() override;
  int InsertAt(int position, const Text& caption, int iconIndex, std::optional<int> stateImage,
               std::optional<int> indent, int itemValue) override;
  const std::vector<Row>& rows() const { return rows_; }

 private:
  void ShowImageList(const Bytes&) override {}
  int SelectedRow() const override { return selected_; }
  void ClearSelection() override { selected_ = -1; }
  void MarkSelected(int row) override { selected_ = row; }

  std::vector<Row> rows_;
  int selected_ = -1;
};

// Every page loaded is recorded, the layout's first, and so is every command.
class Browser : public front::BrowserBox<Control> {
 public:
  Browser(front::LoadedWindow& owner, const ui::ControlLayout& layout);

  void Execute(int command) override { commands.push_back(command); }

  std::vector<Text> navigations;
  std::vector<int> commands;

 private:
  Text ShownAddress() const override { return navigations.empty() ? Text{} : navigations.back(); }
  bool HasView() const override { return true; }
  void Load(const Text& address) override { navigations.push_back(address); }
};

}  // namespace kesto::headless::detail
