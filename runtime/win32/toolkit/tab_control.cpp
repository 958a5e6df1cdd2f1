// The page container: one area per page, only the current one shown. Its tab strip is hidden
// (the layouts switch pages from the program only), so the pages fill the container.
#include <vector>

#include "runtime/toolkit_front/tab_pages.h"
#include "runtime/win32/toolkit/control_windows.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"

namespace kesto::win32 {

namespace {

class Tab : public front::TabPages<Control> {
 public:
  Tab(LoadedWindow& window, const ui::ControlLayout& layout)
      : TabPages(window, layout), current_(layout.currentPage) {}

  void Create(HWND parent) override {
    HWND frame = CreateDrawnControl(parent);
    for (int i = 0; i < std::max(layout().pageCount, 1); ++i) {
      // Each page clips what reaches beyond the container's edge, and paints as the container.
      HWND page = CreateWindowExW(
          0, DrawnControlClass(), L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
          layout().width, layout().height, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
      AttachControl(page, this);
      pages_.push_back(page);
    }
    if (current_ < 0 || current_ >= int(pages_.size())) current_ = 0;
    ShowWindow(pages_[current_], SW_SHOWNA);
  }

  HWND ChildArea(int page) override {
    return page >= 0 && page < int(pages_.size()) ? pages_[page] : pages_.front();
  }

  void Paint(HDC dc) override {
    if (FillBackColour(dc)) return;
    RECT area{};
    GetClientRect(hwnd(), &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  }

 private:
  int CurrentPage() const override { return current_; }

  int PageCount() const override { return int(pages_.size()); }

  void ShowPage(int page) override {
    if (page == current_) return;
    ShowWindow(pages_[page], SW_SHOWNA);
    ShowWindow(pages_[current_], SW_HIDE);
    current_ = page;
  }

  std::vector<HWND> pages_;
  int current_ = 0;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeTab(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::Tab>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
