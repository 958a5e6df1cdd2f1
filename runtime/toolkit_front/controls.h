// The control types, one maker each, supplied by the toolkit; MakeControl picks by the layout's
// type.
#pragma once

#include <memory>

#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

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

}  // namespace kesto::front
