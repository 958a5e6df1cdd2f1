// The toolkit of the fuzz programs. They open no window, so a message box can only be the
// report of a fatal runtime error (an array index out of range, say): a finding, which must
// stop the run rather than wait for a button.
#include <cstdio>
#include <cstdlib>

#include "runtime/toolkit.h"

namespace kesto::toolkit {

void Start(int, char**) {}

int MessageBox(const Text& text, const Text& caption, int) {
  std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
  std::abort();
}

bool OnUiThread() {
  return true;
}

void PostToUiThread(std::function<void()> work) {
  work();
}

void ProcessEvents() {}

void RunMessageLoop() {}

void EndProcess(int exitCode) {
  std::fprintf(stderr, "the program ended with %d\n", exitCode);
  std::abort();
}

}  // namespace kesto::toolkit
