// Starts the runtime as every program does and prints what it took as the program: the current
// directory it entered and the program file's name, one a line.
#include <cstdio>

#include "runtime/core.h"

int main(int argc, char** argv) {
  kesto::RuntimeStart(argc, argv);
  std::printf("%s\n%s\n", kesto::CurrentDirectory().c_str(), kesto::ProgramFileName().c_str());
  return 0;
}
