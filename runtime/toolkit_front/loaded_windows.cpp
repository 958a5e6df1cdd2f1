#include "runtime/toolkit_front/loaded_windows.h"

namespace kesto::front {

namespace {

// The common properties whose value the native control holds.
bool HeldByNative(int index) {
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop:
    case ui::prop::kWidth:
    case ui::prop::kHeight:
    case ui::prop::kVisible:
    case ui::prop::kDisable:
      return true;
    default:
      return false;
  }
}

// Labels, boxes, buttons and links start with the layout's text as their caption.
bool Captioned(ui::ControlType type) {
  switch (type) {
    case ui::ControlType::kLabel:
    case ui::ControlType::kTransLabel:
    case ui::ControlType::kEditBox:
    case ui::ControlType::kButton:
    case ui::ControlType::kHyperLinker:
      return true;
    default:
      return false;
  }
}

constexpr int kCaption = 8;

}  // namespace

// ---- Control ----

Control::Control(LoadedWindow& owner, const ui::ControlLayout& layout)
    : owner_(owner), layout_(layout) {
  kept_[ui::prop::kTag] = Text{};
  kept_[ui::prop::kMousePointer] = 0;
  if (Captioned(layout.type)) kept_[kCaption] = layout.text;
}

ui::Value Control::ReadCommon(int index) const {
  if (HeldByNative(index)) return ReadNative(index);
  auto it = kept_.find(index);
  return it == kept_.end() ? ui::Value{} : it->second;
}

void Control::WriteCommon(int index, const ui::Value& value) {
  if (HeldByNative(index)) {
    WriteNative(index, value);
  } else {
    kept_[index] = value;
  }
}

ui::EventResult Control::Fire(ui::Event event, const ui::EventArgs& args) {
  return owner_.Fire(layout_.name, event, args);
}

std::shared_ptr<LoadedWindow> Control::Hold() const {
  return owner_.shared_from_this();
}

// ---- LoadedWindow ----

void LoadedWindow::AddControl(std::unique_ptr<Control> control) {
  controls_.push_back(std::move(control));
}

Control* LoadedWindow::FindControl(const Text& name) const {
  for (const auto& control : controls_) {
    if (control->layout().name == name) return control.get();
  }
  return nullptr;
}

ui::EventResult LoadedWindow::Fire(const Text& control, ui::Event event,
                                   const ui::EventArgs& args) {
  auto keep = shared_from_this();
  for (const ui::EventBinding& binding : layout_.bindings) {
    if (binding.control != control || binding.event != event) continue;
    ui::Handler handler = ui::FindHandler(binding.handler);
    return handler ? handler(args) : ui::EventResult{};
  }
  return {};
}

bool LoadedWindow::DraggedByBackground() const {
  return layout_.border == ui::Border::kNone && layout_.movable;
}

}  // namespace kesto::front
