// The update window (progress of fetching the updater) and the purchase window (the
// self-service purchase page).
#include "layouts/names.h"
#include "layouts/window_layouts.h"

namespace kesto::layouts {

using ui::ControlLayout;
using ui::ControlType;
using ui::Event;

ui::WindowLayout UpdateWindowLayout() {
  ui::WindowLayout w;
  w.name = names::kUpdateWindow;
  w.title = "正在更新程序必备文件";
  w.width = 357;
  w.height = 168;
  w.border = ui::Border::kFixedSingle;
  w.topmost = true;

  ControlLayout note{.type = ControlType::kLabel, .name = "标签1"};
  note.left = 32, note.top = 24, note.width = 296, note.height = 40;
  note.text =
      "正在更新：up.qmz 此文件是服务器自主升级检测程序\r\n\r\n"
      "如杀毒软件提示拦截请通过否则无法正常更新软件";
  note.textColour = 0x606060;

  ControlLayout bar{.type = ControlType::kProcessBar, .name = "进度条1"};
  bar.left = 40, bar.top = 96, bar.width = 280, bar.height = 21;
  bar.rangeMin = 0, bar.rangeMax = 10000, bar.position = 0;

  w.controls = {note, bar};
  w.bindings = {{"", Event::kCreated, names::kOnUpdateWindowCreated}};
  return w;
}

ui::WindowLayout PurchaseWindowLayout() {
  ui::WindowLayout w;
  w.name = names::kPurchaseWindow;
  w.title = "自全动自助购买系统 过程中出现问题联系 官方QQ：";
  w.width = 1024;
  w.height = 800;
  w.border = ui::Border::kFixedSingle;

  // Fills the client area; the negative offsets hide the browser's frame. The opener sets the
  // address.
  ControlLayout browser{.type = ControlType::kHtmlViewer, .name = "超文本浏览框1"};
  browser.left = -2, browser.top = -4, browser.width = 1018, browser.height = 772;

  w.controls = {browser};
  w.bindings = {{"", Event::kCreated, names::kOnPurchaseWindowCreated}};
  return w;
}

}  // namespace kesto::layouts
