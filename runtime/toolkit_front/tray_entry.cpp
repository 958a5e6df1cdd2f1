#include "runtime/toolkit_front/tray_entry.h"

#include "runtime/gbk_chars.h"
#include "runtime/toolkit_front/back_end.h"
#include "runtime/toolkit_front/window_table.h"

namespace kesto::front {

namespace {

// What the notification area holds of a tip, cut without splitting a two-byte character.
constexpr std::size_t kTipBytes = 62;

}  // namespace

ui::EventResult NotifyTray(LoadedWindow& window, TrayCode code) {
  auto keep = window.shared_from_this();
  ui::EventArgs args;
  args.a = code;
  return window.Fire("", ui::Event::kTrayNotify, args);
}

}  // namespace kesto::front

namespace kesto::ui {

// An empty icon cannot be shown: it counts as none.
void SetTrayIcon(const Text& window, std::optional<Bytes> icon, std::optional<Text> tip) {
  front::RunOnUiThread([&] {
    front::LoadedWindow& loaded = front::LoadedWindowOrFail(window);
    if (!icon || icon->empty()) {
      loaded.RemoveTrayEntry();
      return;
    }
    front::ShowTrayEntry(loaded, *icon,
                         Text(gbk::CutToBytes(tip.value_or(Text{}), front::kTipBytes)));
  });
}

}  // namespace kesto::ui
