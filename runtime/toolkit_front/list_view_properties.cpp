#include "runtime/toolkit_front/list_view_properties.h"

#include "runtime/ui.h"

namespace kesto::front {

Bytes LayoutImageList(const ui::ControlLayout& layout) {
  if (layout.pictures.empty()) return {};
  Bytes list = ui::ImageListCreate(layout.imageWidth, layout.imageHeight);
  for (const ui::Picture& picture : layout.pictures) ui::ImageListAdd(list, picture.ToBytes());
  return list;
}

}  // namespace kesto::front
