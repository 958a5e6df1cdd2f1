// The conformance scenarios' desktop on GTK: the private X session of the GUI tests, with the
// window manager's view read from the windows' X11 properties.
#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "layouts/names.h"
#include "runtime/gtk/loaded_windows.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/posix/native_text.h"
#include "tests/runtime/gtk/gui_support.h"
#include "tests/runtime/gtk/gui_windows.h"
#include "tests/runtime/toolkit_conformance/desktop.h"

namespace kesto::testing::desktop {

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

std::string SkipReason() {
  return GuiSkipReason();
}

void Pump(int ms) {
  testing::Pump(ms);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  return testing::PumpUntil(done, timeoutMs);
}

native::Handle LoadAndShow(const char* window) {
  return testing::LoadAndShow(window);
}

void CloseAndWait(const char* window) {
  const native::Handle handle = ui::NativeHandle({window, ""});
  if (!handle) return;
  ui::CloseWindow(window);
  PumpUntil([&] { return !native::IsWindow(handle); }, 5000);
}

Point ControlPoint(const ui::Ref& control, int x, int y) {
  const testing::Point at = ScreenPoint(control.window.c_str(), control.control.c_str(), x, y);
  return {at.x, at.y};
}

// The list view is a GtkIconView, on its own or in a scrolled window.
Point ListItemPoint(const ui::Ref& list, int row) {
  const std::shared_ptr<gtk::LoadedWindow> window = gtk::FindLoadedWindow(list.window);
  gtk::Control* control = window ? window->FindControl(list.control) : nullptr;
  if (!control) return {};
  GtkWidget* view = control->widget();
  if (!GTK_IS_ICON_VIEW(view) && GTK_IS_BIN(view)) view = gtk_bin_get_child(GTK_BIN(view));
  if (!GTK_IS_ICON_VIEW(view)) return {};
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  GdkRectangle cell{};
  const bool found = gtk_icon_view_get_cell_rect(GTK_ICON_VIEW(view), path, nullptr, &cell);
  gtk_tree_path_free(path);
  if (!found) return {};
  int x = 0, y = 0;
  gtk_widget_translate_coordinates(view, window->window(), cell.x + cell.width / 2,
                                   cell.y + cell.height / 2, &x, &y);
  const native::Rect client = WindowRect(list.window);
  return {client.left + x, client.top + y};
}

bool IsShown(native::Handle window) {
  return IsMapped(window);
}

bool IsMinimised(native::Handle window) {
  return IsIconic(window);
}

bool IsMaximised(native::Handle window) {
  return HasAtom(window, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT") &&
         HasAtom(window, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_HORZ");
}

bool IsAlwaysOnTop(native::Handle window) {
  return HasAtom(window, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE");
}

native::Handle ActiveWindow() {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  native::Handle active = 0;
  if (XGetWindowProperty(gtk::XDisplay(), gtk::XRootWindow(), gtk::XAtom("_NET_ACTIVE_WINDOW"), 0,
                         1, False, AnyPropertyType, &type, &format, &count, &after,
                         &data) == Success &&
      data && count == 1) {
    active = native::Handle(reinterpret_cast<unsigned long*>(data)[0]);
  }
  if (data) XFree(data);
  return active;
}

native::Handle DesktopWindow() {
  return native::Handle(gtk::XRootWindow());
}

void XDo(const std::string& arguments) {
  testing::XDo(Words(arguments));
}

std::uint32_t ScreenPixel(int x, int y) {
  GdkWindow* root = gdk_get_default_root_window();
  testing::Screen pixel(gdk_pixbuf_get_from_window(root, x, y, 1, 1));
  return pixel ? PixelAt(pixel.get(), 0, 0) : 0xFFFFFFFFu;
}

void Screenshot(const std::string& name) {
  testing::Screenshot(name);
}

bool BoxShown(const Text& caption) {
  const std::string title = posix::GbkToUtf8(caption);
  bool shown = false;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    shown |= GTK_IS_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data)) &&
             title == gtk_window_get_title(GTK_WINDOW(w->data));
  }
  g_list_free(windows);
  return shown;
}

// The keys go through the keyboard (XTEST), not to the found window: GTK does not take keys
// that another program sends it. A search races with windows coming and going (and xdotool
// gives up on one that goes), so it is tried again until it finds the box.
void AnswerBox(const Text& caption, const std::string& keys) {
  const std::string find = "xdotool search --onlyvisible --name '" + posix::GbkToUtf8(caption) +
                           "' windowactivate --sync windowfocus --sync";
  StartTool({"sh", "-c",
             "for try in $(seq 200); do " + find + " 2>/dev/null && break; sleep 0.1; done; " +
                 "xdotool sleep 0.5 key --delay 100 " + keys});
}

// The entry is the XEmbed one (a GtkStatusIcon, which GTK has deprecated): the test programs
// have no session bus, so no StatusNotifier host.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

Point WaitForTrayEntry() {
  GtkStatusIcon* entry = gtk::FindLoadedWindow(names::kMainWindow)->tray;
  if (!entry) return {};
  const auto area = [entry] {
    GdkRectangle area{};
    gtk_status_icon_get_geometry(entry, nullptr, &area, nullptr);
    return area;
  };
  // The notification area places the entry once it is embedded, at the bottom of the screen.
  if (!PumpUntil([&] {
        return gtk_status_icon_is_embedded(entry) && area().width > 0 && area().y > 900;
      })) {
    return {};
  }
  WaitUntilSteady([&] {
    const GdkRectangle now = area();
    return std::vector<int>{now.x, now.y, now.width, now.height};
  });
  const GdkRectangle placed = area();
  return {placed.x + placed.width / 2, placed.y + placed.height / 2};
}

G_GNUC_END_IGNORE_DEPRECATIONS

namespace {

// The pop-up menu on screen, or nullptr.
GtkWidget* ShownMenu() {
  GtkWidget* menu = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w; w = w->next) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(w->data));
    if (gtk_widget_get_mapped(GTK_WIDGET(w->data)) && child && GTK_IS_MENU(child)) menu = child;
  }
  g_list_free(windows);
  return menu;
}

// Clicks the first item of the menu once it is shown (or beside it); again and again until then.
gboolean ClickShownMenu(gpointer firstItem) {
  GtkWidget* menu = ShownMenu();
  if (!menu) return G_SOURCE_CONTINUE;
  int x = 5, y = 5;  // the desktop, away from the menu at the notification area
  if (firstItem) {
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    GtkWidget* item = GTK_WIDGET(items->data);
    g_list_free(items);
    GtkAllocation area;
    gtk_widget_get_allocation(item, &area);
    gdk_window_get_origin(gtk_widget_get_window(item), &x, &y);
    x += area.x + area.width / 2;
    y += area.y + area.height / 2;
  }
  StartTool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"});
  return G_SOURCE_REMOVE;
}

}  // namespace

bool TrayMenuShown() {
  return ShownMenu() != nullptr;
}

void ClickTrayMenuWhenShown(bool firstItem) {
  g_timeout_add(100, ClickShownMenu, GINT_TO_POINTER(firstItem));
}

struct Peer::Process {
  GPid pid = 0;
  bool ended = false;
};

Peer::Peer(const char* title) : process_(std::make_unique<Process>()) {
  gchar* argv[] = {const_cast<gchar*>(KESTO_PEER_WINDOW), const_cast<gchar*>(title), nullptr};
  int out = -1;
  if (!g_spawn_async_with_pipes(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
                                &process_->pid, nullptr, &out, nullptr, nullptr)) {
    return;
  }
  FILE* reader = fdopen(out, "r");
  unsigned long id = 0;
  if (reader && std::fscanf(reader, "%lu", &id) == 1) window_ = native::Handle(id);
  if (reader) std::fclose(reader);
  PumpUntil([&] { return IsMapped(window_); });
  WaitUntilSteady([&] {
    native::Rect rect;
    native::GetWindowRect(window_, rect);
    return std::vector<int>{rect.left, rect.top, rect.right, rect.bottom};
  });
}

Peer::~Peer() {
  if (process_->pid && !process_->ended) {
    kill(process_->pid, SIGKILL);
    waitpid(process_->pid, nullptr, 0);
  }
  if (process_->pid) g_spawn_close_pid(process_->pid);
}

std::uint32_t Peer::processId() const {
  return std::uint32_t(process_->pid);
}

bool Peer::Ended(int timeoutMs, int& exitCode) {
  int status = 0;
  PumpUntil(
      [&] { return process_->ended = waitpid(process_->pid, &status, WNOHANG) == process_->pid; },
      timeoutMs);
  exitCode = process_->ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return process_->ended;
}

}  // namespace kesto::testing::desktop
