// The instance lock on Windows: a mutex in the session's namespace ("Local\"), so that two users
// signed in at once each have their own, named after the folder's identity, so that two copies
// in different folders do not block each other.
#include "runtime/instance_lock.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

#include "runtime/win32/wide_text.h"

namespace kesto {

namespace {

// FNV-1a: a short, stable name from a text of any length.
std::uint64_t NameHash(const Text& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char byte : text) {
    hash ^= byte;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

// The folder's volume and file index where it can be opened (links and short names lead to the
// same), its path without regard to case where it cannot.
std::wstring LockName(const Text& folder) {
  Text identity = FolderIdentity(folder);
  if (identity.empty()) {
    std::wstring wide = win32::ToWide(folder);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    identity = win32::FromWide(wide);
  }
  wchar_t name[40];
  std::swprintf(name, sizeof name / sizeof *name, L"Local\\Kesto-%016llx",
                static_cast<unsigned long long>(NameHash(identity)));
  return name;
}

}  // namespace

// The handle stays open for the life of the process: closing it would not let go of the lock,
// and the lock must outlive every call. A holder that ends leaves the mutex abandoned, which the
// next waiter takes as its own. A lock that cannot be made (the name taken by an object of
// another kind) leaves the guarding to the window record.
bool TakeInstanceLock(const Text& folder, int waitMilliseconds) {
  HANDLE lock = CreateMutexW(nullptr, FALSE, LockName(folder).c_str());
  if (!lock) return true;
  const DWORD waited = WaitForSingleObject(lock, static_cast<DWORD>(waitMilliseconds));
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
  CloseHandle(lock);
  return false;
}

}  // namespace kesto
