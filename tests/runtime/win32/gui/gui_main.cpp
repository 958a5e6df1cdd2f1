// The GUI tests run as the platform does: the runtime started, the toolkit on this thread.
#include <gtest/gtest.h>

#include "runtime/core.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kesto::RuntimeStart(argc, argv);
  return RUN_ALL_TESTS();
}
