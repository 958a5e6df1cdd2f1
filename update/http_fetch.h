// Downloading one file from the update server.
#pragma once

#include <optional>
#include <string>

#include "runtime/core.h"
#include "runtime/vendor_signature.h"

namespace kesto::update {

enum class FetchResult {
  kSaved,     // the whole body is in the file
  kNotFound,  // the server has no such file (404)
  kFailed,    // anything else: no connection, another status, a transfer cut short, a write error
  kNotModified,  // the server's copy is still the one asked about (304): nothing is written
};

struct Fetch {
  FetchResult result;
  Text reason;         // for kFailed and kNotFound: what happened, in plain words
  std::size_t size{};  // for kSaved: the bytes saved
  Text etag{};         // for kSaved: the server's tag of this copy, when it gave one
};

// What a release feed says a file is.
struct ExpectedFile {
  std::uint64_t size = 0;
  crypto::Digest sha256{};
};

// Fetches `url` into the file at `path`, creating or replacing it. A transfer that ends
// before the announced length counts as failed and writes nothing; so does a body that is not
// the expected file, or one longer than `limit` bytes, each given up as soon as it grows past
// the expected size or the limit. With `ifNoneMatch`, the server answers only whether its
// copy still has that tag when it does. A cancel (CancelTransfer) ends it within a second.
Fetch FetchToFile(const std::string& url, const Text& path,
                  const std::optional<ExpectedFile>& expected = std::nullopt,
                  const Text& ifNoneMatch = "", std::optional<std::uint64_t> limit = std::nullopt);

}  // namespace kesto::update
