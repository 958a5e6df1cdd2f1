// Downloading one file from the update server.
#pragma once

#include <string>

namespace kesto::updater {

enum class FetchResult {
  kSaved,     // the whole body is in the file
  kNotFound,  // the server has no such file (404)
  kFailed,    // anything else: no connection, another status, a transfer cut short, a write error
};

struct Fetch {
  FetchResult result;
  std::string reason;  // for kFailed and kNotFound: what happened, in plain words
};

// Fetches `url` into the file at `path` (a POSIX path), creating or truncating it. A transfer
// that ends before the announced length counts as failed; the partial file is left for the
// caller, who downloads into a folder of its own and removes it on failure.
Fetch FetchToFile(const std::string& url, const std::string& path);

}  // namespace kesto::updater
