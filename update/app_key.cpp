#include "update/app_key.h"

#include "runtime/profile_guards.h"

namespace kesto::update {

namespace {

constexpr int kMaxKeyLength = 64;

// Names Windows gives to devices in every folder: a file of that name opens the device.
bool IsDeviceName(const Text& lower) {
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"}) {
    if (lower == device) return true;
  }
  return lower.size() == 4 && (lower.rfind("com", 0) == 0 || lower.rfind("lpt", 0) == 0) &&
         lower[3] >= '0' && lower[3] <= '9';
}

}  // namespace

bool IsApplicationKey(const Text& key) {
  if (key.empty() || TextLength(key) > kMaxKeyLength) return false;
  for (unsigned char byte : key) {
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  if (key.front() == ' ' || key.back() == ' ') return false;
  // Searched character by character: the second byte of a two-byte character may be "\" or
  // "|" and is no separator.
  for (const char* unsafe : {".", "\\", "/", ":", "*", "?", "\"", "<", ">", "|", "[", "]", "="}) {
    if (FindText(key, unsafe) != -1) return false;
  }
  const Text lower = ToLower(key);
  if (lower == kPlatformRelease || lower == kUpdaterRelease || IsDeviceName(lower)) return false;
  // Written as a value and as a key: one the profile calls cannot take would leave the updater
  // with the run target written before it.
  return StorableInProfile("wm", key, key);
}

bool IsReleaseName(const Text& name) {
  return name == kPlatformRelease || name == kUpdaterRelease || IsApplicationKey(name);
}

}  // namespace kesto::update
