// The headless toolkit's state, and windows built from their layouts.
#include "runtime/headless/controls_state.h"

namespace kesto::headless::detail {

namespace {
using ui::ControlType;
namespace prop = ui::prop;

// A caption, label text or box content is the first of a type's own properties.
constexpr int kCaption = 8;

void SetCommon(Control& c, int left, int top, int width, int height, bool visible, bool disabled) {
  c.properties[prop::kLeft] = left;
  c.properties[prop::kTop] = top;
  c.properties[prop::kWidth] = width;
  c.properties[prop::kHeight] = height;
  c.properties[prop::kTag] = Text();
  c.properties[prop::kVisible] = visible;
  c.properties[prop::kDisable] = disabled;
  c.properties[prop::kMousePointer] = 0;
}

// The layout's design-time pictures as the list's first image list.
Bytes DesignImageList(const ui::ControlLayout& layout) {
  Bytes list = ui::ImageListCreate(layout.imageWidth, layout.imageHeight);
  for (const ui::Picture& picture : layout.pictures) ui::ImageListAdd(list, picture.ToBytes());
  return list;
}

Control MakeControl(const ui::ControlLayout& layout) {
  Control c;
  c.layout = &layout;
  SetCommon(c, layout.left, layout.top, layout.width, layout.height, layout.visible,
            layout.disabled);
  switch (layout.type) {
    case ControlType::kTransLabel:
    case ControlType::kLabel:
    case ControlType::kEditBox:
    case ControlType::kButton:
    case ControlType::kHyperLinker:
      c.properties[kCaption] = layout.text;
      if (layout.type == ControlType::kHyperLinker)
        c.properties[prop::hyperlinker::kWebAddress] = Text();
      break;
    case ControlType::kTab:
      c.properties[prop::tab::kCurrentPage] = layout.currentPage;
      break;
    case ControlType::kProcessBar:
      c.properties[prop::processbar::kPosition] = layout.position;
      break;
    case ControlType::kListView:
      c.properties[prop::listview::kImageList] = DesignImageList(layout);
      break;
    case ControlType::kHtmlViewer:
    case ControlType::kWebUIControl:
      c.properties[prop::browser::kUrl] = layout.text;
      if (!layout.text.empty()) c.navigations.push_back(layout.text);
      break;
    case ControlType::kPicBtn:
    case ControlType::kPicBox:
      break;
  }
  return c;
}
}  // namespace

Toolkit& State() {
  static Toolkit toolkit;
  return toolkit;
}

Window* FindWindow(const Text& name) {
  auto it = State().windows.find(name);
  return it == State().windows.end() ? nullptr : &it->second;
}

Control* FindControl(Window& window, const Text& name) {
  if (name.empty()) return &window.self;
  auto it = window.controls.find(name);
  return it == window.controls.end() ? nullptr : &it->second;
}

Window MakeWindow(const ui::WindowLayout& layout) {
  Window w;
  w.layout = &layout;
  int left = layout.centred ? (kScreenWidth - layout.width) / 2 : layout.left;
  int top = layout.centred ? (kScreenHeight - layout.height) / 2 : layout.top;
  SetCommon(w.self, left, top, layout.width, layout.height, layout.visible, false);
  w.self.properties[prop::window::kTitle] = layout.title;
  w.self.properties[prop::window::kWindowState] = int{ui::kStateNormal};
  w.self.properties[prop::window::kIcon] = layout.icon.ToBytes();
  for (const ui::ControlLayout& control : layout.controls) {
    w.controls.emplace(control.name, MakeControl(control));
  }
  return w;
}

}  // namespace kesto::headless::detail
