// The edit box: a one-line text entry whose key presses reach the program as virtual keys.
#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/gtk/keys.h"
#include "runtime/posix/native_text.h"

namespace kesto::gtk {

namespace {

class EditBox : public Control {
 public:
  EditBox(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), posix::GbkToUtf8(layout.text).c_str());
    std::string css =
        "entry { min-height: 0; padding: 0 4px; border-radius: 0; " + CssFont(layout.font);
    if (layout.backColour != ui::kDefaultColour) {
      css += " background: " + CssColour(layout.backColour) + ";";
    }
    if (layout.textColour != ui::kDefaultColour) {
      css += " color: " + CssColour(layout.textColour) + ";";
    }
    AddCss(entry, css + " }");
    g_signal_connect(entry, "key-press-event", G_CALLBACK(OnKey), this);
    Adopt(entry);
  }

  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::editbox::kContent) return std::nullopt;
    return posix::Utf8ToGbk(gtk_entry_get_text(GTK_ENTRY(widget())));
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::editbox::kContent) return false;
    gtk_entry_set_text(GTK_ENTRY(widget()), posix::GbkToUtf8(TextOf(value)).c_str());
    return true;
  }

 private:
  // The box still takes the key after the handler has seen it.
  static gboolean OnKey(GtkWidget*, GdkEventKey* key, EditBox* self) {
    auto keep = self->Hold();
    ui::EventArgs args;
    args.a = VirtualKeyOf(key->keyval);
    args.b = KeyStateOf(key->state);
    self->Fire(ui::Event::kKeyDown, args);
    return FALSE;
  }
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakeEditBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::EditBox>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
