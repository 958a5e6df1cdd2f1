// The control types, one maker each; MakeControl picks by the layout's type.
#pragma once

#include <memory>

#include "runtime/win32/toolkit/loaded_windows.h"

namespace kesto::win32 {

std::unique_ptr<Control> MakeControl(LoadedWindow& window, const ui::ControlLayout& layout);

std::unique_ptr<Control> MakePictureButton(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakePictureBox(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeTextLabel(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeHyperLink(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeTab(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeEditBox(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakePushButton(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeListView(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeProgressBar(LoadedWindow& window, const ui::ControlLayout& layout);
std::unique_ptr<Control> MakeBrowser(LoadedWindow& window, const ui::ControlLayout& layout);
// Offers a key message to the browser control it is meant for, so that the page's own keys
// (Tab between fields, copy and paste) work; true when the control took it.
bool BrowserTookKey(MSG& message);

}  // namespace kesto::win32
