// The native side of the window's own properties: place and size, visibility with the window
// state, title and icon.
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/window_geometry.h"
#include "runtime/gtk/window_icon.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::gtk {

namespace {

namespace wp = ui::prop::window;

GdkWindowState ShownState(const LoadedWindow& window) {
  GdkWindow* gdk_window = gtk_widget_get_window(window.window());
  return gdk_window ? gdk_window_get_state(gdk_window) : GdkWindowState(0);
}

// Applies the state to a window that is on screen or about to be shown.
void ApplyState(LoadedWindow& window, int state) {
  GtkWindow* gtk_window = GTK_WINDOW(window.window());
  switch (state) {
    case ui::kStateMinimised:
      gtk_window_iconify(gtk_window);
      break;
    case ui::kStateMaximised:
      gtk_window_deiconify(gtk_window);
      gtk_window_maximize(gtk_window);
      break;
    case ui::kStateCentred:
      gtk_window_deiconify(gtk_window);
      gtk_window_unmaximize(gtk_window);
      CentreOnScreen(window);
      break;
    default:
      gtk_window_deiconify(gtk_window);
      gtk_window_unmaximize(gtk_window);
      break;
  }
}

void SetVisible(LoadedWindow& window, bool visible) {
  GtkWidget* widget = window.window();
  if (!visible) {
    gtk_widget_hide(widget);
    return;
  }
  if (gtk_widget_get_visible(widget)) return;
  // Before the window maps, so that it comes up in its state (GTK keeps the request).
  ApplyState(window, window.windowState);
  gtk_widget_show(widget);
  // A window shown again is put back where it was last on screen, whatever was asked while it
  // was hidden: centred means centred now that it is mapped.
  if (window.windowState == ui::kStateCentred) CentreOnScreen(window);
}

Text TitleOf(GtkWindow* window) {
  const gchar* title = gtk_window_get_title(window);
  return title ? posix::Utf8ToGbk(title) : Text{};
}

// Where the window is on screen.
GdkPoint PositionOf(GtkWindow* window) {
  GdkPoint position{0, 0};
  gtk_window_get_position(window, &position.x, &position.y);
  return position;
}

LoadedWindow& Native(front::LoadedWindow& window) {
  return static_cast<LoadedWindow&>(window);
}

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

using gtk::Native;

std::optional<ui::Value> ReadNativeWindowProperty(LoadedWindow& loaded, int index) {
  gtk::LoadedWindow& window = Native(loaded);
  GtkWindow* gtk_window = GTK_WINDOW(window.window());
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop: {
      const GdkPoint position = gtk::PositionOf(gtk_window);
      return index == ui::prop::kLeft ? position.x : position.y;
    }
    case ui::prop::kWidth:
      return gtk::OuterWidth(window);
    case ui::prop::kHeight:
      return gtk::OuterHeight(window);
    case ui::prop::kDisable:
      return !gtk_widget_get_sensitive(window.root());
    case ui::prop::kVisible:
      return WindowShown(window);
    case gtk::wp::kTitle:
      return gtk::TitleOf(gtk_window);
  }
  return std::nullopt;
}

bool WriteNativeWindowProperty(LoadedWindow& loaded, int index, const ui::Value& value) {
  gtk::LoadedWindow& window = Native(loaded);
  GtkWindow* gtk_window = GTK_WINDOW(window.window());
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop: {
      GdkPoint position = gtk::PositionOf(gtk_window);
      (index == ui::prop::kLeft ? position.x : position.y) = ui::IntOf(value);
      gtk_window_move(gtk_window, position.x, position.y);
      return true;
    }
    case ui::prop::kWidth:
      gtk::SetOuterSize(window, ui::IntOf(value), gtk::OuterHeight(window));
      return true;
    case ui::prop::kHeight:
      gtk::SetOuterSize(window, gtk::OuterWidth(window), ui::IntOf(value));
      return true;
    case ui::prop::kVisible:
      gtk::SetVisible(window, ui::BoolOf(value));
      return true;
    case ui::prop::kDisable:
      gtk_widget_set_sensitive(window.root(), !ui::BoolOf(value));
      return true;
    case gtk::wp::kTitle:
      gtk_window_set_title(gtk_window, posix::GbkToUtf8(ui::TextOf(value)).c_str());
      return true;
    default:
      return false;
  }
}

bool WindowShown(LoadedWindow& window) {
  return gtk_widget_get_visible(Native(window).window());
}

std::optional<int> MinimisedOrMaximised(LoadedWindow& window) {
  const GdkWindowState shown = gtk::ShownState(Native(window));
  if (shown & GDK_WINDOW_STATE_ICONIFIED) return int(ui::kStateMinimised);
  if (shown & GDK_WINDOW_STATE_MAXIMIZED) return int(ui::kStateMaximised);
  return std::nullopt;
}

void ApplyWindowState(LoadedWindow& window, int state) {
  gtk::ApplyState(Native(window), state);
}

void ShowWindowIcon(LoadedWindow& window, const Bytes& iconFile) {
  GList* pixbufs = gtk::IconPixbufs(iconFile);
  gtk_window_set_icon_list(GTK_WINDOW(Native(window).window()), pixbufs);
  g_list_free_full(pixbufs, g_object_unref);
}

}  // namespace kesto::front
