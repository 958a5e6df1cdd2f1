// The platform information file's format: a flag, the separator "var?don" and a DES payload of
// six or more fields joined by "|~|". Reading it needs no global state, so the tools that make
// these files check their output with the very same rules.
#pragma once

#include "runtime/core.h"

namespace kesto::shell {

inline constexpr char kPlatformFileSeparator[] = "var?don";
inline constexpr char kPlatformFieldSeparator[] = "|~|";
inline constexpr int kPlatformFieldCount = 6;
// Six contact texts and addresses never come near this; a larger payload is refused unread so a
// stray or damaged file cannot hold up the start for seconds of deciphering.
inline constexpr int kMaxPlatformPayloadBytes = 64 * 1024;

enum class PlatformFileState {
  kNotTwoPieces,     // the bytes do not split into exactly two pieces at the separator
  kNotEnciphered,    // the flag is not "1": the payload is ignored, the defaults stand
  kPayloadTooLarge,  // the payload is longer than kMaxPlatformPayloadBytes
  kTooFewFields,     // the deciphered payload holds fewer than six fields
  kFields,           // six fields read
};

struct PlatformFile {
  PlatformFileState state = PlatformFileState::kNotTwoPieces;
  // The first six fields when state is kFields, otherwise empty.
  Array<Text> fields;
};

// The payload key: the flag piece's bytes enciphered under the derivation key, as text up to its
// first zero byte, followed by the key suffix.
Text PlatformPayloadKey(const Bytes& flagPiece);

// What a platform information file's bytes hold.
PlatformFile ReadPlatformFile(const Bytes& bytes);

}  // namespace kesto::shell
