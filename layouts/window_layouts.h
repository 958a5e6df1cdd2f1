// The designed windows, one builder each; ui::FindWindowLayout serves them by name.
#pragma once

#include "runtime/layout.h"

namespace kesto::layouts {

ui::WindowLayout MainWindowLayout();
ui::WindowLayout UpdateWindowLayout();
ui::WindowLayout PurchaseWindowLayout();
ui::WindowLayout InstallWindowLayout();

// Fonts of the layouts; every face uses the GB2312 character set.
inline ui::Font YaHei(int height, bool bold, bool underline = false) {
  return ui::Font{"微软雅黑", height, bold, underline};
}

}  // namespace kesto::layouts
