#include "tests/runtime/gtk/tray_support.h"

#include "runtime/gtk/loaded_windows.h"
#include "tests/recording_handlers/recording_handlers.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"

namespace kesto::testing {

GtkStatusIcon* XEmbedEntry() {
  return gtk::FindLoadedWindow(names::kMainWindow)->tray;
}

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

bool XEmbedEntryShown() {
  return gtk_status_icon_get_visible(XEmbedEntry());
}

bool XEmbedEntryEmbedded() {
  return gtk_status_icon_is_embedded(XEmbedEntry());
}

G_GNUC_END_IGNORE_DEPRECATIONS

void TrayFixture::SetUp() {
  KESTO_REQUIRE_DISPLAY();
  TrayCodes().clear();
  ReachedHandlers().clear();
  RegisterTrayHandlers();
  RecordUnder(names::kOnExitChosen);
  handle_ = LoadAndShow(names::kMainWindow);
  ASSERT_NE(handle_, 0);
  ui::SetTrayIcon(names::kMainWindow, ui::GetBytes(kMain, ui::prop::window::kIcon),
                  "Kesto应用平台V1.1");
  ASSERT_TRUE(XEmbedEntry());
}

}  // namespace kesto::testing
