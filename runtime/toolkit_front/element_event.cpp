#include "runtime/toolkit_front/element_event.h"

namespace kesto::front {

ui::Object ElementEventObject(const Text& id, const Text& name) {
  ui::Object element;
  element.SetText("ID", id);
  element.SetText("name", name);
  ui::Object event;
  event.SetObject("srcElement", element);
  return event;
}

}  // namespace kesto::front
