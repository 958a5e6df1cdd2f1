// Reading and writing properties. Values are stored as written and read back; a few writes
// also act, as on a real toolkit: a window's visible and windowState, a tab's page, a progress
// bar's position, a list's selection and a browser's address.
#include <algorithm>

#include "runtime/headless/controls_state.h"
#include "runtime/headless/frame_state.h"

namespace kesto::ui {

using headless::detail::Control;
using headless::detail::OnControl;
using headless::detail::Window;

namespace {

bool OnUserInterfaceThread() {
  auto& frame = headless::detail::Frame();
  std::lock_guard<std::mutex> guard(frame.lock);
  return frame.uiThread == std::this_thread::get_id();
}

// Restores a minimised or maximised window and centres it, without resizing it.
void Centre(Window& w) {
  w.self.properties[prop::kLeft] =
      (headless::kScreenWidth - ui::IntOf(w.self.properties[prop::kWidth])) / 2;
  w.self.properties[prop::kTop] =
      (headless::kScreenHeight - ui::IntOf(w.self.properties[prop::kHeight])) / 2;
}

// Brings a visible window into the state: 0 normal, 1 normal and centred, 2 minimised,
// 3 maximised. Other values change nothing.
void ApplyWindowState(Window& w, int state) {
  switch (state) {
    case kStateNormal:
    case kStateCentred:
      w.minimised = w.maximised = false;
      if (state == kStateCentred) Centre(w);
      break;
    case kStateMinimised:
      w.minimised = true;
      w.maximised = false;
      break;
    case kStateMaximised:
      w.minimised = false;
      w.maximised = true;
      break;
    default:
      break;
  }
}

void SetWindowProperty(Window& w, int index, const Value& value) {
  w.self.properties[index] = value;
  if (index == prop::window::kWindowState) {
    // While the window is hidden the state is only remembered, and applied when it is shown.
    if (ui::BoolOf(w.self.properties[prop::kVisible])) {
      ApplyWindowState(w, ui::IntOf(value));
    } else {
      w.pendingState = ui::IntOf(value);
    }
  } else if (index == prop::kVisible && ui::BoolOf(value) && w.pendingState) {
    ApplyWindowState(w, *w.pendingState);
    w.pendingState.reset();
  }
}

void SetControlProperty(Control& c, int index, const Value& value) {
  const ControlLayout& layout = *c.layout;
  switch (layout.type) {
    case ControlType::kTab:
      // A page the tab does not have leaves the current one.
      if (index == prop::tab::kCurrentPage &&
          (ui::IntOf(value) < 0 || ui::IntOf(value) >= layout.pageCount)) {
        return;
      }
      break;
    case ControlType::kProcessBar:
      if (index == prop::processbar::kPosition) {
        c.properties[index] =
            std::max(layout.rangeMin, std::min(ui::IntOf(value), layout.rangeMax));
        return;
      }
      break;
    case ControlType::kListView:
      if (index == prop::listview::kSelectedIndex) {
        int row = ui::IntOf(value);
        c.selected = row >= 0 && row < static_cast<int>(c.rows.size()) ? row : -1;
        return;
      }
      break;
    case ControlType::kHtmlViewer:
    case ControlType::kWebUIControl:
      if (index == prop::browser::kUrl) {
        const Text* url = std::get_if<Text>(&value);
        c.navigations.push_back(url ? *url : Text());
      }
      break;
    default:
      break;
  }
  c.properties[index] = value;
}

}  // namespace

Value GetProperty(const Ref& ref, int index) {
  return OnControl(ref, [&](Window&, Control& c) -> Value {
    if (c.layout && c.layout->type == ControlType::kListView &&
        index == prop::listview::kSelectedIndex) {
      return c.selected;
    }
    auto it = c.properties.find(index);
    return it == c.properties.end() ? Value{} : it->second;
  });
}

void SetProperty(const Ref& ref, int index, const Value& value) {
  auto apply = [&](Window& w, Control& c) {
    if (c.layout) {
      SetControlProperty(c, index, value);
    } else {
      SetWindowProperty(w, index, value);
    }
    return !c.layout;
  };
  // A worker's write to a window closed meanwhile (the user closed the update window while it
  // downloads) is dropped: the worker cannot know, and ending the program helps nobody.
  bool windowChanged = OnUserInterfaceThread() ? OnControl(ref, apply)
                                               : headless::detail::IfControl(ref, false, apply);
  if (windowChanged) headless::detail::SyncNativeWindow(ref.window);
}

}  // namespace kesto::ui
