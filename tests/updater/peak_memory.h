// The most memory this process has held at once, in bytes.
#pragma once

#include <cstddef>

namespace kesto::testing {

std::size_t PeakMemory();

}  // namespace kesto::testing
