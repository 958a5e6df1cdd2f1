#include "tests/runtime/gtk/gui_support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "runtime/gtk/shared_web_process.h"
#include "runtime/gtk/x11_access.h"
#include "runtime/toolkit.h"

namespace kesto::testing {

XSession*& CurrentXSession() {
  static XSession* session = nullptr;
  return session;
}

std::string& GuiSkipReason() {
  static std::string reason;
  return reason;
}

std::string ArtefactFolder() {
  const std::string folder = std::string(KESTO_BINARY_DIR) + "/gui-artefacts";
  g_mkdir_with_parents(folder.c_str(), 0755);
  return folder;
}

namespace {
// A home of the process's own for the desktop's settings and the browser engine's data.
std::string& BrowserHome() {
  static std::string home;
  return home;
}
}  // namespace

void InstallRecordingBrowser() {
  gchar* made = g_dir_make_tmp("kesto-gui-XXXXXX", nullptr);
  if (!made) return;
  BrowserHome() = made;
  g_free(made);
  const std::string& home = BrowserHome();
  g_mkdir_with_parents((home + "/applications").c_str(), 0755);
  const std::string script = home + "/browser.sh";
  std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> '" << home << "/opened.txt'\n";
  chmod(script.c_str(), 0755);
  // It also stands for the desktop's openers of text files, shares and a program's own scheme,
  // so that an address that must never reach the desktop is seen if it does.
  const std::string types[] = {"x-scheme-handler/http", "x-scheme-handler/https",
                               "x-scheme-handler/smb", "x-scheme-handler/kesto-test", "text/plain"};
  std::ofstream entry(home + "/applications/kesto-test-browser.desktop");
  entry << "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" << script << " %u\nMimeType=";
  std::ofstream defaults(home + "/mimeapps.list");
  defaults << "[Default Applications]\n";
  for (const std::string& type : types) {
    entry << type << ";";
    defaults << type << "=kesto-test-browser.desktop\n";
  }
  entry << "\n";
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  setenv("XDG_CACHE_HOME", home.c_str(), 1);
}

void RemoveRecordingBrowser() {
  if (BrowserHome().empty()) return;
  gchar* argv[] = {const_cast<gchar*>("rm"), const_cast<gchar*>("-rf"),
                   const_cast<gchar*>(BrowserHome().c_str()), nullptr};
  g_spawn_sync(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr,
               nullptr, nullptr);
}

std::string OpenedAddresses() {
  std::ifstream in(BrowserHome() + "/opened.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ForgetOpenedAddresses() {
  std::remove((BrowserHome() + "/opened.txt").c_str());
}

void Pump(int ms) {
  const gint64 end = g_get_monotonic_time() + gint64(ms) * 1000;
  while (g_get_monotonic_time() < end) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(2000);
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const gint64 end = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
  while (!done()) {
    if (g_get_monotonic_time() >= end) return false;
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(2000);
  }
  return true;
}

void WaitUntilSteady(const std::function<std::vector<int>()>& look) {
  std::vector<int> last = look();
  gint64 sameSince = g_get_monotonic_time();
  PumpUntil(
      [&] {
        std::vector<int> now = look();
        if (now != last) {
          last = std::move(now);
          sameSince = g_get_monotonic_time();
        }
        return g_get_monotonic_time() - sameSince >= 300 * 1000;
      },
      10000);
}

ToolRun RunTool(const std::vector<std::string>& argv, int timeoutMs) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  GPid pid = 0;
  int out = -1;
  ToolRun run;
  if (!g_spawn_async_with_pipes(nullptr, args.data(), nullptr,
                                GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD),
                                nullptr, nullptr, &pid, nullptr, &out, nullptr, nullptr)) {
    return run;
  }
  int status = 0;
  bool ended = false;
  PumpUntil([&] { return ended = waitpid(pid, &status, WNOHANG) == pid; }, timeoutMs);
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  char buffer[4096];
  ssize_t got = 0;
  while ((got = read(out, buffer, sizeof buffer)) > 0) run.output.append(buffer, size_t(got));
  close(out);
  g_spawn_close_pid(pid);
  run.exitCode = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

bool XDo(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunTool(argv).exitCode == 0;
}

void StartTool(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  g_spawn_async(nullptr, args.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr,
                nullptr);
}

namespace {
Screen GrabScreen() {
  GdkWindow* root = gdk_get_default_root_window();
  return Screen(gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                           gdk_window_get_height(root)));
}

Screen Keep(Screen shot, const std::string& name) {
  const std::string path = ArtefactFolder() + "/" + name + ".png";
  gdk_pixbuf_save(shot.get(), path.c_str(), "png", nullptr, nullptr);
  return shot;
}
}  // namespace

Screen Screenshot(const std::string& name) {
  Pump(150);  // let pending drawing reach the screen
  return Keep(GrabScreen(), name);
}

Screen ScreenshotWhen(const std::string& name, const std::function<bool(GdkPixbuf*)>& drawn,
                      int timeoutMs) {
  Screen shot;
  PumpUntil(
      [&] {
        shot = GrabScreen();
        return drawn(shot.get());
      },
      timeoutMs);
  return Keep(std::move(shot), name);
}

std::uint32_t PixelAt(GdkPixbuf* screen, int x, int y) {
  if (x < 0 || y < 0 || x >= gdk_pixbuf_get_width(screen) || y >= gdk_pixbuf_get_height(screen)) {
    return 0xFFFFFFFFu;
  }
  const guchar* p = gdk_pixbuf_read_pixels(screen) + y * gdk_pixbuf_get_rowstride(screen) +
                    x * gdk_pixbuf_get_n_channels(screen);
  return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
}

bool AreaHasColour(GdkPixbuf* screen, int x, int y, int width, int height, std::uint32_t rgb) {
  for (int j = y; j < y + height; ++j) {
    for (int i = x; i < x + width; ++i) {
      if (PixelAt(screen, i, j) == rgb) return true;
    }
  }
  return false;
}

native::Rect WindowRect(const Text& window) {
  native::Rect rect;
  native::GetWindowRect(ui::NativeHandle({window, ""}), rect);
  return rect;
}

bool IsMapped(native::Handle window) {
  XWindowAttributes attributes;
  gtk::XErrorTrap trap;
  const bool got = XGetWindowAttributes(gtk::XDisplay(), Window(window), &attributes) != 0;
  return !trap.Failed() && got && attributes.map_state == IsViewable;
}

bool IsIconic(native::Handle window) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom state = gtk::XAtom("WM_STATE");
  gtk::XErrorTrap trap;
  bool iconic = false;
  if (XGetWindowProperty(gtk::XDisplay(), Window(window), state, 0, 1, False, state, &type, &format,
                         &count, &after, &data) == Success &&
      data && count == 1) {
    iconic = reinterpret_cast<long*>(data)[0] == IconicState;
  }
  if (data) XFree(data);
  trap.Failed();
  return iconic;
}

bool HasAtom(native::Handle window, const char* property, const char* name) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom wanted = gtk::XAtom(name);
  bool has = false;
  gtk::XErrorTrap trap;
  if (XGetWindowProperty(gtk::XDisplay(), Window(window), gtk::XAtom(property), 0, 64, False,
                         XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data) {
    const Atom* atoms = reinterpret_cast<Atom*>(data);
    has = std::find(atoms, atoms + count, wanted) != atoms + count;
  }
  if (data) XFree(data);
  trap.Failed();
  return has;
}

PageServer::PageServer() {
  const std::string script = std::string(KESTO_SOURCE_DIR) + "/tests/runtime/gtk/page_server.py";
  gchar* argv[] = {const_cast<gchar*>("python3"), const_cast<gchar*>(script.c_str()), nullptr};
  int out = -1;
  if (!g_spawn_async_with_pipes(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr,
                                &pid_, &input_, &out, nullptr, nullptr)) {
    return;
  }
  FILE* reader = fdopen(out, "r");
  if (reader && std::fscanf(reader, "%d", &port_) != 1) port_ = 0;
  if (reader) std::fclose(reader);
  if (!port_) return;
  const std::string proxy = "http://127.0.0.1:" + std::to_string(port_);
  WebKitNetworkProxySettings* settings = webkit_network_proxy_settings_new(proxy.c_str(), nullptr);
  WebKitWebsiteDataManager* data =
      webkit_web_context_get_website_data_manager(gtk::ProgramWebContext());
  webkit_website_data_manager_set_network_proxy_settings(data, WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                         settings);
  webkit_network_proxy_settings_free(settings);
}

PageServer::~PageServer() {
  if (input_ >= 0) close(input_);  // the server ends when its input closes
  if (pid_) g_spawn_close_pid(pid_);
}

}  // namespace kesto::testing
