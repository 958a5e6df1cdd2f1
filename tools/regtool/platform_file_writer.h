// Making the bytes of a reg.qmz that the platform reads back as the given six values.
#pragma once

#include <optional>

#include "runtime/core.h"

namespace regtool {

// The file's bytes, or nothing with the reason in `problem` when no such file can be made.
std::optional<kesto::Bytes> MakePlatformFile(const kesto::Array<kesto::Text>& fields,
                                             kesto::Text& problem);

}  // namespace regtool
