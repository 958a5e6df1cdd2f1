// The module is written into an anonymous memory file and opened from there: it always comes
// from the same build as the program, and a program update stays one file.
#include "runtime/gtk_on_demand/loaded_toolkit.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>

extern "C" const unsigned char kesto_toolkit_module[];
extern "C" const unsigned char kesto_toolkit_module_end[];

namespace kesto::gtk_on_demand {

namespace {

int keptArgc = 0;
char** keptArgv = nullptr;
std::atomic<const ToolkitCalls*> loaded{nullptr};

[[noreturn]] void CannotLoad(const std::string& why) {
  std::fprintf(stderr, "kesto: the user interface cannot be loaded: %s\n", why.c_str());
  std::fflush(stderr);
  _exit(1);
}

bool WriteWhole(int file, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(file, data, size);
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

const ToolkitCalls* Load() {
  const int file = memfd_create("kesto-toolkit", MFD_CLOEXEC);
  if (file < 0) CannotLoad("no memory file");
  if (!WriteWhole(file, kesto_toolkit_module,
                  static_cast<std::size_t>(kesto_toolkit_module_end - kesto_toolkit_module))) {
    CannotLoad("the module could not be written");
  }
  const std::string path = "/proc/self/fd/" + std::to_string(file);
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  close(file);
  if (!module) CannotLoad(dlerror());
  const auto table = reinterpret_cast<TableFunction>(dlsym(module, kTableFunction));
  if (!table) CannotLoad(dlerror());
  const ToolkitCalls* calls = table();
  calls->toolkit_Start(keptArgc, keptArgv);
  return calls;
}

}  // namespace

const ToolkitCalls& LoadedToolkit() {
  static const ToolkitCalls* const calls = [] {
    const ToolkitCalls* made = Load();
    loaded.store(made);
    return made;
  }();
  return *calls;
}

const ToolkitCalls* ToolkitIfLoaded() {
  return loaded.load();
}

void KeepCommandLine(int argc, char** argv) {
  keptArgc = argc;
  keptArgv = argv;
}

}  // namespace kesto::gtk_on_demand
