// Downloading one file from the update server.
#pragma once

#include <string>

#include "runtime/core.h"

namespace kesto::updater {

enum class FetchResult {
  kSaved,     // the whole body is in the file
  kNotFound,  // the server has no such file (404)
  kFailed,    // anything else: no connection, another status, a transfer cut short, a write error
};

struct Fetch {
  FetchResult result;
  Text reason;         // for kFailed and kNotFound: what happened, in plain words
  std::size_t size{};  // for kSaved: the bytes saved
};

// Fetches `url` into the file at `path`, creating or replacing it. A transfer that ends
// before the announced length counts as failed and writes nothing.
Fetch FetchToFile(const std::string& url, const Text& path);

}  // namespace kesto::updater
