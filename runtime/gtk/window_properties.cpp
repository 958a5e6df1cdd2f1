// The window's own properties: place and size, visibility with the window state, title and
// icon. The window state is kept while the window is hidden and applied when it shows.
#include "runtime/gtk/window_properties.h"

#include "runtime/gtk/window_geometry.h"
#include "runtime/gtk/window_icon.h"
#include "runtime/posix/native_text.h"

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

void SetIcon(LoadedWindow& window, const Bytes& icon) {
  window.kept[wp::kIcon] = icon;
  GList* pixbufs = IconPixbufs(icon);
  gtk_window_set_icon_list(GTK_WINDOW(window.window()), pixbufs);
  g_list_free_full(pixbufs, g_object_unref);
}

}  // namespace

ui::Value ReadWindowProperty(LoadedWindow& window, int index) {
  GtkWindow* gtk_window = GTK_WINDOW(window.window());
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop: {
      int x = 0, y = 0;
      gtk_window_get_position(gtk_window, &x, &y);
      return index == ui::prop::kLeft ? x : y;
    }
    case ui::prop::kWidth:
      return OuterWidth(window);
    case ui::prop::kHeight:
      return OuterHeight(window);
    case ui::prop::kVisible:
      return static_cast<bool>(gtk_widget_get_visible(window.window()));
    case ui::prop::kDisable:
      return !gtk_widget_get_sensitive(window.root());
    case wp::kTitle:
      return TitleOf(gtk_window);
    case wp::kWindowState: {
      if (gtk_widget_get_visible(window.window())) {
        const GdkWindowState shown = ShownState(window);
        if (shown & GDK_WINDOW_STATE_ICONIFIED) return int(ui::kStateMinimised);
        if (shown & GDK_WINDOW_STATE_MAXIMIZED) return int(ui::kStateMaximised);
      }
      return window.windowState;
    }
    case wp::kIcon: {
      auto it = window.kept.find(wp::kIcon);
      return it != window.kept.end() ? it->second : ui::Value{window.layout().icon.ToBytes()};
    }
    default: {
      auto it = window.kept.find(index);
      return it == window.kept.end() ? ui::Value{} : it->second;
    }
  }
}

void WriteWindowProperty(LoadedWindow& window, int index, const ui::Value& value) {
  GtkWindow* gtk_window = GTK_WINDOW(window.window());
  switch (index) {
    case ui::prop::kLeft:
    case ui::prop::kTop: {
      int x = 0, y = 0;
      gtk_window_get_position(gtk_window, &x, &y);
      (index == ui::prop::kLeft ? x : y) = IntOf(value);
      gtk_window_move(gtk_window, x, y);
      break;
    }
    case ui::prop::kWidth:
      SetOuterSize(window, IntOf(value), OuterHeight(window));
      break;
    case ui::prop::kHeight:
      SetOuterSize(window, OuterWidth(window), IntOf(value));
      break;
    case ui::prop::kVisible:
      SetVisible(window, BoolOf(value));
      break;
    case ui::prop::kDisable:
      gtk_widget_set_sensitive(window.root(), !BoolOf(value));
      break;
    case wp::kTitle:
      gtk_window_set_title(gtk_window, posix::GbkToUtf8(TextOf(value)).c_str());
      break;
    case wp::kWindowState:
      window.windowState = IntOf(value);
      if (gtk_widget_get_visible(window.window())) ApplyState(window, window.windowState);
      break;
    case wp::kIcon:
      SetIcon(window, BytesOf(value));
      break;
    default:
      window.kept[index] = value;
      break;
  }
}

}  // namespace kesto::gtk
