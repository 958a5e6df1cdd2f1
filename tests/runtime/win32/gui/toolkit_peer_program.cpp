// Another program with a window of the toolkit: it loads the purchase window, writes the
// window's handle into the file named by its argument and runs until its last window is closed.
#include <cstdio>

#include "layouts/names.h"
#include "runtime/core.h"
#include "runtime/toolkit.h"
#include "runtime/ui.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  kesto::RuntimeStart(argc, argv);
  if (!kesto::ui::LoadWindow(kesto::names::kPurchaseWindow)) return 3;
  const std::intptr_t handle = kesto::ui::NativeHandle({kesto::names::kPurchaseWindow, ""});
  if (std::FILE* out = std::fopen(argv[1], "w")) {
    std::fprintf(out, "%lld\n", static_cast<long long>(handle));
    std::fclose(out);
  }
  kesto::toolkit::RunMessageLoop();
  return 0;
}
