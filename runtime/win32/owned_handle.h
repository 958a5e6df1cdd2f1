// A kernel object handle closed when its owner goes.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace kesto::win32 {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// CreateFileW reports failure as INVALID_HANDLE_VALUE, other calls as null: both become null.
inline OwnedHandle Own(HANDLE handle) {
  return OwnedHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace kesto::win32
