// The HTML interface box's command: anything but a browser takes none.
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/browser_box.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::ui {

void Execute(const Ref& box, int command) {
  front::RunOnUiThread([&] {
    if (auto* browser = dynamic_cast<front::BrowserCommands*>(&front::ControlOrFail(box))) {
      browser->Execute(command);
    }
  });
}

}  // namespace kesto::ui
