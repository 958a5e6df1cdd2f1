// The internet layer's stall time shortened for a test: the test program and the programs it
// starts, all built for the tests, take it from KESTO_TEST_STALL_SECONDS, so that a test of a
// stall waits seconds, not the product's minute.
#pragma once

namespace kesto::testing {

class ShortStallTime {
 public:
  explicit ShortStallTime(int seconds);
  ~ShortStallTime();
  ShortStallTime(const ShortStallTime&) = delete;
  ShortStallTime& operator=(const ShortStallTime&) = delete;
};

}  // namespace kesto::testing
