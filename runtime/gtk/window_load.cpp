// Building a window from its layout: the GTK window with its border, icon and place, and its
// controls in their containers.
#include "runtime/gtk/controls.h"
#include "runtime/gtk/outside_map.h"
#include "runtime/gtk/placement_area.h"
#include "runtime/gtk/window_frame.h"
#include "runtime/gtk/window_geometry.h"
#include "runtime/gtk/window_icon.h"
#include "runtime/posix/native_text.h"
#include "runtime/toolkit_front/back_end.h"

namespace kesto::gtk {

namespace {

void ApplyBorder(GtkWindow* window, const ui::WindowLayout& layout) {
  gtk_window_set_resizable(window, FALSE);
  if (layout.border == ui::Border::kNone) {
    gtk_window_set_decorated(window, FALSE);
  } else {
    UseCloseBoxOnly(window);
  }
}

// A window without an icon of its own shows the program's: the first icon any layout gave.
void ApplyIcon(GtkWindow* window, const ui::WindowLayout& layout) {
  if (layout.icon.IsEmpty()) return;
  GList* pixbufs = IconPixbufs(layout.icon.ToBytes());
  if (!pixbufs) return;
  gtk_window_set_icon_list(window, pixbufs);
  if (!gtk_window_get_default_icon_list()) gtk_window_set_default_icon_list(pixbufs);
  g_list_free_full(pixbufs, g_object_unref);
}

GtkWidget* AreaFor(LoadedWindow& window, const Control& control) {
  const ui::ControlLayout& layout = control.layout();
  if (!layout.container.empty()) {
    if (Control* container = window.FindControl(layout.container)) {
      if (GtkWidget* area = container->ChildArea(layout.page)) return area;
    }
  }
  return window.root();
}

gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer window) {
  DestroyLoadedWindow(static_cast<LoadedWindow*>(window)->shared_from_this());
  return TRUE;
}

std::shared_ptr<LoadedWindow> Build(const ui::WindowLayout& layout) {
  auto loaded = std::make_shared<LoadedWindow>(layout);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* gtk_window = GTK_WINDOW(window);
  gtk_window_set_title(gtk_window, posix::GbkToUtf8(layout.title).c_str());
  ApplyBorder(gtk_window, layout);
  ApplyIcon(gtk_window, layout);
  gtk_window_set_keep_above(gtk_window, layout.topmost);
  gtk_window_set_skip_taskbar_hint(gtk_window, !layout.showInTaskbar);
  g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteEvent), loaded.get());

  GtkWidget* root = NewBackgroundArea(layout.backColour);
  gtk_container_add(GTK_CONTAINER(window), root);
  gtk_widget_show(root);
  loaded->SetWidgets(window, root);
  FollowOutsideMaps(*loaded);
  DragWindowFrom(root, *loaded);
  SetOuterSize(*loaded, layout.width, layout.height);

  for (const ui::ControlLayout& control : layout.controls) {
    if (auto made = front::MakeControl(*loaded, control)) {
      loaded->AddControl(std::move(made));
    }
  }
  // An earlier control lies above a later one of the same container: the later ones go in
  // first.
  const auto& controls = loaded->controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    auto& control = static_cast<Control&>(**it);
    control.PlaceIn(AreaFor(*loaded, control));
  }

  if (layout.centred) {
    CentreOnScreen(*loaded);
  } else {
    gtk_window_move(gtk_window, layout.left, layout.top);
  }
  gtk_widget_realize(window);
  return loaded;
}

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::shared_ptr<LoadedWindow> BuildWindow(const ui::WindowLayout& layout) {
  return gtk::Build(layout);
}

void ShowNewWindow(LoadedWindow& window) {
  gtk_widget_show(static_cast<gtk::LoadedWindow&>(window).window());
}

void RaiseWindow(LoadedWindow& window) {
  gtk_window_present(GTK_WINDOW(static_cast<gtk::LoadedWindow&>(window).window()));
}

}  // namespace kesto::front
