// The list in icon view: each row a picture from the list's image list with its caption below,
// one row selected at a time, a row activated by a double-click (or Enter).

#include <windows.h>
// The common controls are declared in the types of windows.h.
#include <commctrl.h>

#include "runtime/image/image_list.h"
#include "runtime/toolkit_front/list_view_properties.h"
#include "runtime/win32/toolkit/controls.h"
#include "runtime/win32/toolkit/drawing.h"
#include "runtime/win32/toolkit/fonted_control.h"
#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

// Room around each tile: its caption below, a margin on each side.
constexpr int kTileMargin = 16;
constexpr int kCaptionRoom = 40;

// The system image list of an image list's pictures, each masked where its transparent colour
// was; nullptr for a malformed list.
HIMAGELIST SystemImageList(const Bytes& list) {
  std::optional<image::ImageListInfo> info = image::ReadImageListInfo(list);
  if (!info) return nullptr;
  HIMAGELIST images =
      ImageList_Create(info->width, info->height, ILC_COLOR32 | ILC_MASK, info->count, 1);
  for (int i = 0; i < info->count; ++i) {
    std::optional<image::RgbaImage> picture = image::ImageListImage(list, i);
    if (!picture)
      picture = image::RgbaImage{
          info->width, info->height,
          std::vector<std::uint8_t>(std::size_t(info->width) * info->height * 4, 0)};
    HBITMAP colour = DibOf(*picture);
    ImageList_Add(images, colour, nullptr);
    DeleteObject(colour);
  }
  return images;
}

class ListView : public front::ListViewProperties<FontedControl> {
 public:
  using ListViewProperties::ListViewProperties;

  ~ListView() override {
    if (images_) ImageList_Destroy(images_);
  }

  void Create(HWND parent) override {
    CreateSystemControl(parent, WC_LISTVIEWW,
                        LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
                            LVS_SHAREIMAGELISTS | WS_TABSTOP);
    UseLayoutFont();
    HWND view = hwnd();
    // High contrast keeps the list in the theme's colours.
    const bool layoutColours = !HighContrast();
    if (layoutColours && layout().backColour != ui::kDefaultColour) {
      ListView_SetBkColor(view, ColourRefOf(layout().backColour));
      ListView_SetTextBkColor(view, ColourRefOf(layout().backColour));
    }
    if (layoutColours && layout().textColour != ui::kDefaultColour) {
      ListView_SetTextColor(view, ColourRefOf(layout().textColour));
    }
    if (layout().imageWidth > 0) {
      ListView_SetIconSpacing(view, layout().imageWidth + kTileMargin,
                              layout().imageHeight + kCaptionRoom);
    }
  }

  int Count() const override { return int(ListView_GetItemCount(hwnd())); }

  void DeleteAll() override { ListView_DeleteAllItems(hwnd()); }

  int InsertAt(int position, const Text& caption, int iconIndex, std::optional<int> stateImage,
               std::optional<int> indent, int itemValue) override {
    if (!images_) SetImageList(ImageList());
    std::wstring text = ToWide(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = position;
    item.pszText = text.data();
    item.iImage = std::max(iconIndex, -1);
    item.lParam = itemValue;
    item.iIndent = std::max(indent.value_or(0), 0);
    if (stateImage) {
      item.state = INDEXTOSTATEIMAGEMASK(UINT(*stateImage));
      item.stateMask = LVIS_STATEIMAGEMASK;
    }
    return int(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }

  LRESULT OnReflected(UINT message, WPARAM, LPARAM lParam, bool& handled) override {
    if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != LVN_ITEMACTIVATE) {
      handled = false;
      return 0;
    }
    auto keep = Hold();
    Fire(ui::Event::kItemActivated);
    return 0;
  }

 private:
  void ShowImageList(const Bytes& list) override {
    HIMAGELIST previous = images_;
    images_ = SystemImageList(list);
    ListView_SetImageList(hwnd(), images_, LVSIL_NORMAL);
    if (previous) ImageList_Destroy(previous);
  }

  int SelectedRow() const override { return int(ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED)); }

  void ClearSelection() override {
    ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }

  void MarkSelected(int row) override {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  HIMAGELIST images_ = nullptr;
};

}  // namespace

}  // namespace kesto::win32

namespace kesto::front {

std::unique_ptr<Control> MakeListView(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<win32::ListView>(static_cast<win32::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
