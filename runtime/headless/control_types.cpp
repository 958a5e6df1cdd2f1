// The headless controls, one maker a type: the front's rules over controls held in memory.
#include "runtime/headless/control_types.h"

#include "runtime/toolkit_front/controls.h"
#include "runtime/toolkit_front/label_text.h"
#include "runtime/toolkit_front/progress_bar_position.h"
#include "runtime/toolkit_front/tab_pages.h"

namespace kesto::headless::detail {

namespace {

class Label : public front::LabelText<Control> {
 public:
  using front::LabelText<Control>::LabelText;

 private:
  void Redraw() override {}
};

class Tab : public front::TabPages<Control> {
 public:
  using front::TabPages<Control>::TabPages;

 private:
  int CurrentPage() const override { return page_; }
  int PageCount() const override { return layout().pageCount; }
  void ShowPage(int page) override { page_ = page; }

  int page_ = layout().currentPage;
};

class ProgressBar : public front::ProgressBarPosition<Control> {
 public:
  using front::ProgressBarPosition<Control>::ProgressBarPosition;

 private:
  void ShowPosition() override {}
};

}  // namespace

// ---- LinkBox ----

bool LinkBox::StandsAfterHandler() const {
  return FindWindow(owner().layout().name).get() == &owner();
}

bool LinkBox::OpenInBrowser(const Text& address) {
  if (address.empty()) return false;
  State().openedLinks.push_back(address);
  return true;
}

// ---- ListView ----

void ListView::DeleteAll() {
  rows_.clear();
  selected_ = -1;
}

// An icon below -1 is none and a negative indent none; the selection stays on its row.
int ListView::InsertAt(int position, const Text& caption, int iconIndex,
                       std::optional<int> stateImage, std::optional<int> indent, int itemValue) {
  rows_.insert(rows_.begin() + position, Row{caption, iconIndex < -1 ? -1 : iconIndex, stateImage,
                                             indent && *indent > 0 ? *indent : 0, itemValue});
  if (selected_ >= position) ++selected_;
  return position;
}

// ---- Browser ----

// The view stands at once: the layout's address is the first page.
Browser::Browser(front::LoadedWindow& owner, const ui::ControlLayout& layout)
    : BrowserBox(owner, layout) {
  Navigate(address());
}

}  // namespace kesto::headless::detail

namespace kesto::front {

namespace {

template <class Type>
std::unique_ptr<Control> Make(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<Type>(window, layout);
}

using Plain = headless::detail::Control;

}  // namespace

std::unique_ptr<Control> MakePictureButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<Plain>(window, layout);
}

std::unique_ptr<Control> MakePictureBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<Plain>(window, layout);
}

std::unique_ptr<Control> MakeTextLabel(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::Label>(window, layout);
}

std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::LinkBox>(window, layout);
}

std::unique_ptr<Control> MakeTab(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::Tab>(window, layout);
}

std::unique_ptr<Control> MakeEditBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<Plain>(window, layout);
}

std::unique_ptr<Control> MakePushButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<Plain>(window, layout);
}

std::unique_ptr<Control> MakeListView(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::ListView>(window, layout);
}

std::unique_ptr<Control> MakeProgressBar(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::ProgressBar>(window, layout);
}

std::unique_ptr<Control> MakeBrowser(LoadedWindow& window, const ui::ControlLayout& layout) {
  return Make<headless::detail::Browser>(window, layout);
}

}  // namespace kesto::front
