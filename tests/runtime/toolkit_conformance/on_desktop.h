// The fixture of every conformance scenario: it skips, saying why, where the desktop cannot run.
#pragma once

#include <gtest/gtest.h>

#include "tests/runtime/toolkit_conformance/desktop.h"

namespace kesto::testing {

class OnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!desktop::SkipReason().empty()) GTEST_SKIP() << "skipped: " << desktop::SkipReason();
  }
};

}  // namespace kesto::testing
