#include "apps/panel_events.h"

#include "apps/app_list.h"
#include "apps/launch.h"
#include "shell/globals.h"
#include "webwin/purchase_window.h"

namespace kesto::apps {

namespace {

// An attribute of the element the event happened on.
Text SourceAttribute(const ui::Object& event, const Text& attribute) {
  ui::Object element = ui::ObjectReadObject(event, "srcElement");
  Text value = ui::ObjectReadText(element, attribute);
  ui::ObjectClear(element);
  return value;
}

}  // namespace

ui::EventResult HandlePanelEvent(const ui::Object& event, int code, bool opensPurchaseWindow) {
  Text id = SourceAttribute(event, "ID");
  Text name = SourceAttribute(event, "name");
  if (code == ui::kEventClick || (code == ui::kEventMouseMove && !shell::PanelPointerSeen)) {
    shell::PanelPointerSeen = true;
    // LaunchApp processes events, so a further page event can arrive while this one acts.
    if (shell::PanelActionBusy) return {};
    shell::PanelActionBusy = true;
    if (name == "qmz") {
      LaunchApp(id);
      RefreshAppList();
    }
    if (opensPurchaseWindow && name == "qmzpay") webwin::OpenPurchaseWindow();
    shell::PanelActionBusy = false;
  }
  return code == ui::kEventWheel;
}

ui::EventResult OnCataloguePanelEvent(const ui::EventArgs& args) {
  return HandlePanelEvent(args.object, args.a, true);
}

ui::EventResult OnSidePanelEvent(const ui::EventArgs& args) {
  return HandlePanelEvent(args.object, args.a, false);
}

}  // namespace kesto::apps
