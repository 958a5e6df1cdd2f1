// Events as the user would cause them, each reaching the handler its layout binds.
#include "runtime/headless/controls_state.h"

namespace kesto::headless {

using detail::Control;
using detail::State;
using detail::Window;

ui::EventResult Fire(const ui::Ref& ref, ui::Event event, const ui::EventArgs& args) {
  Text handlerName;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    Window* w = detail::FindWindow(ref.window);
    if (!w) return std::nullopt;
    for (const ui::EventBinding& binding : w->layout->bindings) {
      if (binding.control == ref.control && binding.event == event) {
        handlerName = binding.handler;
        break;
      }
    }
  }
  if (handlerName.empty()) return std::nullopt;
  ui::Handler handler = ui::FindHandler(handlerName);
  return handler ? handler(args) : std::nullopt;
}

ui::EventResult FireElementEvent(const ui::Ref& box, int eventType, const Text& id,
                                 const Text& name) {
  ui::Object element;
  element.SetText("ID", id);
  element.SetText("name", name);
  ui::EventArgs args;
  args.object.SetObject("srcElement", element);
  args.a = eventType;
  return Fire(box, ui::Event::kElementEvent, args);
}

ui::EventResult PressLink(const ui::Ref& link, int x, int y, int keyState) {
  ui::EventResult result = Fire(link, ui::Event::kLeftButtonDown, {x, y, keyState, {}});
  if (result == false) return result;
  // Then the link box opens its own address, if it has one.
  detail::IfControl(link, false, [&](Window&, Control& c) {
    if (!c.layout || c.layout->type != ui::ControlType::kHyperLinker) return false;
    const Text* address = std::get_if<Text>(&c.properties[ui::prop::hyperlinker::kWebAddress]);
    if (address && !address->empty()) State().openedLinks.push_back(*address);
    return true;
  });
  return result;
}

ui::EventResult PressKey(const ui::Ref& box, int keyCode, int keyState) {
  return Fire(box, ui::Event::kKeyDown, {keyCode, keyState, 0, {}});
}

ui::EventResult TrayNotify(int code) {
  Text window;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    if (!State().tray) return std::nullopt;
    window = State().tray->window;
  }
  return Fire({window, ""}, ui::Event::kTrayNotify, {code, 0, 0, {}});
}

void SelectRow(const ui::Ref& list, int row) {
  detail::IfControl(list, false, [&](Window&, Control& c) {
    c.selected = row >= 0 && row < static_cast<int>(c.rows.size()) ? row : -1;
    return true;
  });
}

ui::EventResult DoubleClickRow(const ui::Ref& list, int row) {
  SelectRow(list, row);
  return Fire(list, ui::Event::kItemActivated);
}

std::vector<Text> OpenedLinks() {
  std::lock_guard<std::mutex> guard(State().lock);
  return State().openedLinks;
}

}  // namespace kesto::headless
