#include "runtime/toolkit_front/controls.h"

namespace kesto::front {

std::unique_ptr<Control> MakeControl(LoadedWindow& window, const ui::ControlLayout& layout) {
  using ui::ControlType;
  switch (layout.type) {
    case ControlType::kPicBtn:
      return MakePictureButton(window, layout);
    case ControlType::kPicBox:
      return MakePictureBox(window, layout);
    case ControlType::kLabel:
    case ControlType::kTransLabel:
      return MakeTextLabel(window, layout);
    case ControlType::kHyperLinker:
      return MakeHyperLink(window, layout);
    case ControlType::kTab:
      return MakeTab(window, layout);
    case ControlType::kEditBox:
      return MakeEditBox(window, layout);
    case ControlType::kButton:
      return MakePushButton(window, layout);
    case ControlType::kListView:
      return MakeListView(window, layout);
    case ControlType::kProcessBar:
      return MakeProgressBar(window, layout);
    case ControlType::kWebUIControl:
    case ControlType::kHtmlViewer:
      return MakeBrowser(window, layout);
  }
  return nullptr;
}

}  // namespace kesto::front
