#include "tests/runtime/win32/gui/gui_support.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "runtime/toolkit.h"
#include "runtime/win32/toolkit/ui_thread.h"
#include "runtime/win32/wide_text.h"

namespace kesto::testing {

namespace {

std::string ArtefactPath(const std::string& name) {
  CreateDirectoryA(KESTO_GUI_ARTEFACTS, nullptr);
  return std::string(KESTO_GUI_ARTEFACTS) + "/" + name;
}

// The Unix path of a file the test writes (drive Z is the Unix root).
std::string UnixPath(const std::string& windowsPath) {
  std::string path = windowsPath.substr(2);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

void Pump(int ms) {
  const ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
  do {
    toolkit::ProcessEvents();
    Sleep(10);
  } while (GetTickCount64() < end);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    toolkit::ProcessEvents();
    Sleep(10);
  }
  return true;
}

// Wine starts a Unix program without a process to wait for: the command leaves its exit code
// in a file of its own when it has finished.
int RunUnix(const std::string& command) {
  static int serial = 0;
  const std::string done =
      ArtefactPath("unix-done-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(GetCurrentThreadId()) + "-" + std::to_string(++serial));
  std::wstring line = L"/bin/sh -c \"" + win32::ToWide(command) + L"; echo $? > " +
                      win32::ToWide(UnixPath(done)) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return -1;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  // Meanwhile the windows keep answering (the X server waits for them while it moves them).
  const ULONGLONG end = GetTickCount64() + 20000;
  int code = -1;
  while (GetTickCount64() < end) {
    std::ifstream in(done);
    if (in >> code) break;
    if (win32::IsUiThread()) toolkit::ProcessEvents();
    Sleep(10);
  }
  DeleteFileA(done.c_str());
  return code;
}

std::string UnixOutput(const std::string& command) {
  const std::string file = ArtefactPath("unix-output-" + std::to_string(GetCurrentProcessId()));
  RunUnix(command + " > " + UnixPath(file));
  std::ifstream in(file, std::ios::binary);
  std::string output((std::istreambuf_iterator<char>(in)), {});
  in.close();
  DeleteFileA(file.c_str());
  return output;
}

void XDo(const std::string& arguments) {
  RunUnix("xdotool " + arguments);
}

void Screenshot(const std::string& name) {
  Pump(200);
  RunUnix("import -window root " + UnixPath(ArtefactPath(name + ".png")));
}

std::uint32_t ScreenPixel(int x, int y) {
  // "x,y: (r,g,b)  #RRGGBB  ..." from ImageMagick's text output of one pixel.
  const std::string text = UnixOutput("import -window root -crop 1x1+" + std::to_string(x) + "+" +
                                      std::to_string(y) + " -depth 8 txt:- | tail -n 1");
  const std::size_t hash = text.find('#');
  if (hash == std::string::npos) return 0xFFFFFFFFu;
  return std::uint32_t(std::stoul(text.substr(hash + 1, 6), nullptr, 16));
}

// A window of Wine's desktop process among the panel's descendants.
POINT DockedTrayEntry() {
  const std::string found = UnixOutput(
      "for w in $(xdotool search --classname panel); do xwininfo -tree -id $w; done"
      " | grep explorer.exe | grep -o '[0-9]*x[0-9]*+-*[0-9]*+-*[0-9]*  +[0-9]*+[0-9]*'"
      " | head -n 1");
  int width = 0, height = 0, x = 0, y = 0, absX = 0, absY = 0;
  if (std::sscanf(found.c_str(), "%dx%d+%d+%d  +%d+%d", &width, &height, &x, &y, &absX, &absY) !=
      6) {
    return {0, 0};
  }
  return {absX + width / 2, absY + height / 2};
}

RECT WindowRectOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

POINT ControlPoint(const ui::Ref& control, int x, int y) {
  POINT at{x, y};
  ClientToScreen(reinterpret_cast<HWND>(ui::NativeHandle(control)), &at);
  return at;
}

HWND LoadAndShow(const char* window) {
  if (!ui::LoadWindow(window)) return nullptr;
  HWND hwnd = reinterpret_cast<HWND>(ui::NativeHandle({window, ""}));
  PumpUntil([&] { return IsWindowVisible(hwnd); }, 5000);
  Pump(500);  // the window manager places it
  return hwnd;
}

void CloseAndWait(const char* window) {
  HWND hwnd = reinterpret_cast<HWND>(ui::NativeHandle({window, ""}));
  if (!hwnd) return;
  ui::CloseWindow(window);
  PumpUntil([&] { return !IsWindow(hwnd); }, 5000);
}

}  // namespace kesto::testing
