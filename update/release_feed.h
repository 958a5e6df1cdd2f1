// The release feed: everything the update server offers (the platform "pt", the updater "up"
// and each application key), each with a version and its files, each file with its size,
// SHA-256 and address. The feed carries a sequence number that only grows, the time it was
// signed, an expiry time at most kMaxFeedLifetime after that, and the name of the vendor's key
// that made its detached signature over its exact bytes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/core.h"
#include "runtime/vendor_signature.h"

namespace kesto::update {

struct FeedFile {
  Text name;  // a plain file name within the release's folder
  std::uint64_t size = 0;
  crypto::Digest sha256{};
  std::string url;  // "http://", "https://", or a path relative to the feed's address
};

struct Release {
  Text version;  // dotted numbers: "1", "1.1", "2.0.13"
  std::vector<FeedFile> files;
  // Versions the vendor has taken back ("withdrawn"): one installed goes back to `version`, even
  // when that is older, and none of them is ever taken again.
  std::vector<Text> withdrawn;

  bool IsWithdrawn(const Text& installed) const;
};

// A feed is a few kilobytes and its signature under a hundred bytes: anything far larger is
// not one, and is not read on.
inline constexpr std::uint64_t kMaxFeedBytes = 4 << 20;
inline constexpr std::uint64_t kMaxFeedSignatureBytes = 64 << 10;

// The longest a signed feed may stay valid: a feed captured once cannot be replayed for ever.
inline constexpr std::int64_t kMaxFeedLifetime = 30 * 24 * 60 * 60;

struct Feed {
  std::uint64_t sequence = 0;
  std::int64_t signedAt = 0;  // seconds since 1970 (UTC)
  std::int64_t expires = 0;   // seconds since 1970 (UTC)
  Text keyId;                 // the signing key's KeyId
  std::map<Text, Release> releases;
};

// The feed in a JSON text, or nothing when any part of it is missing or not as above: a
// release key that is neither "pt", "up" nor an application key, a file name that could leave
// its folder, a version that is not dotted numbers, a digest that is not 64 hexadecimal digits,
// a repeated file name, an expiry more than kMaxFeedLifetime after the signing time.
std::optional<Feed> ParseFeed(const std::string& json);

// Where a file of the feed fetched from `feedAddress` is: its own address, or its path taken
// relative to the feed's.
std::string FileAddress(const std::string& feedAddress, const std::string& url);

// Orders two versions by their numbers ("1.10" after "1.9"; "1.0" equals "1"): below 0 when
// a comes first, 0 when equal, above 0 when a comes later.
int CompareVersions(const Text& a, const Text& b);
bool IsVersion(const Text& text);

// How a feed names the key that signed it: the first eight bytes of the SHA-256 digest of the
// key's DER form, in lower-case hexadecimal digits.
Text KeyId(const Bytes& key);

enum class FeedVerdict {
  kAccepted,
  kBadSignature,  // missing, malformed or not by the key
  kMalformed,     // signed, but not a feed
  kExpired,
  kOlder,  // a sequence number below the floor: a mirror rolling the client back
};

struct FeedCheck {
  FeedVerdict verdict;
  std::optional<Feed> feed;  // only when accepted
};

// Checks a fetched feed before anything of it is used: the signature over its exact bytes by
// one of the vendor's keys first, then its form (naming that key), its expiry against `now`
// and its sequence against the floor (the highest sequence accepted or installed before).
FeedCheck CheckFeed(const std::string& bytes, const Bytes& signature,
                    const std::vector<Bytes>& vendorKeys, std::int64_t now, std::uint64_t floor);

}  // namespace kesto::update
