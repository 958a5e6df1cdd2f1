// Another program with a window of the toolkit: it loads the purchase window, writes the
// window's handle into the file named by its argument and runs until its last window is closed.
// With "hold" after the file it holds off the end of the session for its first seconds, and
// notes in "<file>.log" when that hold ends and when its exit routine ran.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "layouts/names.h"
#include "runtime/core.h"
#include "runtime/tool_services.h"
#include "runtime/toolkit.h"
#include "runtime/ui.h"

namespace {

constexpr DWORD kHoldMilliseconds = 3000;

void Note(const std::string& file, const char* line) {
  if (std::FILE* out = std::fopen(file.c_str(), "a")) {
    std::fputs(line, out);
    std::fclose(out);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  kesto::RuntimeStart(argc, argv);
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
