// Writing a whole file is one replacement on every system, so no writer leaves half a file.
#include "runtime/core.h"

namespace kesto {

bool WriteFileBytes(const Text& path, std::initializer_list<Bytes> parts) {
  FileReplacement file(path);
  for (const Bytes& part : parts) file.Write(part.data(), part.size());
  return file.Commit();
}

}  // namespace kesto
