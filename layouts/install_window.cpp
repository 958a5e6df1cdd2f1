// The updater's install window: a first install that takes more than a moment shows how far
// the download is, and lets the seller give it up.
#include "layouts/names.h"
#include "layouts/window_layouts.h"

namespace kesto::layouts {

using ui::ControlLayout;
using ui::ControlType;
using ui::Event;

ui::WindowLayout InstallWindowLayout() {
  ui::WindowLayout w;
  w.name = names::kInstallWindow;
  w.title = "正在安装应用";
  w.width = 357;
  w.height = 168;
  w.border = ui::Border::kFixedSingle;

  ControlLayout note{.type = ControlType::kLabel, .name = "标签1"};
  note.left = 32, note.top = 20, note.width = 296, note.height = 36;
  note.text = "正在下载并校验应用文件，请稍候";
  note.textColour = 0x606060;

  ControlLayout bar{.type = ControlType::kProcessBar, .name = "进度条1"};
  bar.left = 32, bar.top = 64, bar.width = 296, bar.height = 21;
  bar.rangeMin = 0, bar.rangeMax = 10000, bar.position = 0;

  ControlLayout cancel{.type = ControlType::kButton, .name = "按钮1"};
  cancel.left = 248, cancel.top = 96, cancel.width = 80, cancel.height = 26;
  cancel.text = "取消";

  w.controls = {note, bar, cancel};
  // Closing the window gives the install up as the button does.
  w.bindings = {{"按钮1", Event::kClicked, names::kOnInstallCancelled},
                {"", Event::kDestroying, names::kOnInstallCancelled}};
  return w;
}

}  // namespace kesto::layouts
