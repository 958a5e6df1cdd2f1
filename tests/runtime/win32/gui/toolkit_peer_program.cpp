// Another program with a window of the toolkit: it loads the purchase window, writes the
// window's handle into the file named by its argument and runs until its last window is closed.
// With "hold" after the file it holds off the end of the session for its first seconds, and
// notes in "<file>.log" when that hold ends and when its exit routine ran. With "fonts" it only
// writes into the file the screen's dpi and the heights of the toolkit's fonts: the default one,
// a layout's 14-pixel one and the system's message font.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "layouts/names.h"
#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "runtime/toolkit.h"
#include "runtime/ui.h"
#include "runtime/win32/toolkit/drawing.h"

namespace {

constexpr DWORD kHoldMilliseconds = 3000;

void Note(const std::string& file, const char* line) {
  if (std::FILE* out = std::fopen(file.c_str(), "a")) {
    std::fputs(line, out);
    std::fclose(out);
  }
}

LONG HeightOf(HFONT font) {
  LOGFONTW look{};
  GetObjectW(font, sizeof look, &look);
  DeleteObject(font);
  return look.lfHeight;
}

int ReportFonts(const char* file) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  std::FILE* out = std::fopen(file, "w");
  if (!out) return 4;
  std::fprintf(out, "%d %ld %ld %ld\n", dpi, HeightOf(kesto::win32::FontOf({})),
               HeightOf(kesto::win32::FontOf({"", 14, false, false})),
               metrics.lfMessageFont.lfHeight);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  kesto::RuntimeStart(argc, argv);
  if (argc >= 3 && std::string(argv[2]) == "fonts") return ReportFonts(argv[1]);
  const std::string log = std::string(argv[1]) + ".log";
  if (std::FILE* fresh = std::fopen(log.c_str(), "w")) std::fclose(fresh);
  kesto::RegisterExitRoutine([log] { Note(log, "exit routine\n"); });
  if (argc >= 3 && std::string(argv[2]) == "hold") {
    kesto::SessionEndHold* hold = new kesto::SessionEndHold("测试写入");
    std::thread([hold, log] {
      Sleep(kHoldMilliseconds);
      Note(log, "hold ends\n");
      delete hold;
    }).detach();
  }
  if (!kesto::ui::LoadWindow(kesto::names::kPurchaseWindow)) return 3;
  const std::intptr_t handle = kesto::ui::NativeHandle({kesto::names::kPurchaseWindow, ""});
  if (std::FILE* out = std::fopen(argv[1], "w")) {
    std::fprintf(out, "%lld\n", static_cast<long long>(handle));
    std::fclose(out);
  }
  kesto::toolkit::RunMessageLoop();
  return 0;
}
