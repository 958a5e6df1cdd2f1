// The platform program.
#include "runtime/core.h"
#include "shell/process_entry.h"

int main(int argc, char** argv) {
  kesto::EndProgram(kesto::shell::ProcessEntry(argc, argv));
}
