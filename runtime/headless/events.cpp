// Events as the user would cause them, each reaching the handler its layout binds.
#include "runtime/headless/control_types.h"
#include "runtime/toolkit_front/element_event.h"
#include "runtime/toolkit_front/tray_entry.h"

namespace kesto::headless {

ui::EventResult Fire(const ui::Ref& ref, ui::Event event, const ui::EventArgs& args) {
  std::shared_ptr<detail::Window> window = detail::FindWindow(ref.window);
  return window ? window->Fire(ref.control, event, args) : std::nullopt;
}

ui::EventResult FireElementEvent(const ui::Ref& box, int eventType, const Text& id,
                                 const Text& name) {
  ui::EventArgs args;
  args.a = eventType;
  args.object = front::ElementEventObject(id, name);
  return Fire(box, ui::Event::kElementEvent, args);
}

ui::EventResult PressLink(const ui::Ref& link, int x, int y, int keyState) {
  const ui::EventArgs args{x, y, keyState, {}};
  if (detail::LinkBox* box = detail::FindControlOf<detail::LinkBox>(link)) return box->Press(args);
  return Fire(link, ui::Event::kLeftButtonDown, args);
}

ui::EventResult PressKey(const ui::Ref& box, int keyCode, int keyState) {
  return Fire(box, ui::Event::kKeyDown, {keyCode, keyState, 0, {}});
}

ui::EventResult TrayNotify(int code) {
  std::shared_ptr<detail::Window> owner = detail::State().trayOwner.lock();
  if (!owner) return std::nullopt;
  return front::NotifyTray(*owner, front::TrayCode(code));
}

void SelectRow(const ui::Ref& list, int row) {
  if (detail::ListView* view = detail::FindControlOf<detail::ListView>(list)) view->SelectRow(row);
}

ui::EventResult DoubleClickRow(const ui::Ref& list, int row) {
  SelectRow(list, row);
  return Fire(list, ui::Event::kItemActivated);
}

std::vector<Text> OpenedLinks() {
  return detail::State().openedLinks;
}

std::vector<Row> Rows(const ui::Ref& list) {
  const detail::ListView* view = detail::FindControlOf<detail::ListView>(list);
  return view ? view->rows() : std::vector<Row>{};
}

}  // namespace kesto::headless
