// Key material of the platform information file. Every reg.qmz made for the platform must be
// made with these same values.
#pragma once

namespace kesto::shell::platform_key {

// The flag is enciphered under this key to derive the payload key at run time.
inline constexpr char kDerivationKey[] = "3907";
// Appended to the derived text to complete the payload key.
inline constexpr char kKeySuffix[] = "qianmo";

}  // namespace kesto::shell::platform_key
