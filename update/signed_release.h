// An application's files as the vendor's signed release feed describes them: the feed is
// fetched and checked first (signature, form, expiry, and a sequence number never below the
// floor of the program folder's up.ini, so that a mirror cannot roll the seller back), then each
// file of the key's release is fetched and checked against it.
#pragma once

#include <optional>
#include <vector>

#include "runtime/core.h"
#include "update/release_feed.h"

namespace kesto::update {

// The feed, fetched into `folder` and checked; the sequence accepted is kept. Nothing, with
// `problem` saying why (GBK text), when it cannot be fetched or is refused.
std::optional<update::Feed> FetchCheckedFeed(const Text& folder, Text& problem);

// Fetches every file of a release into `folder`, each checked against the feed, and gives
// their names (GBK), the file named `lastName` last when the release has it.
bool FetchReleaseFiles(const update::Release& release, const Text& folder, const Text& lastName,
                       std::vector<Text>& names, Text& problem);

// Fetches the release of `key` into `staging` and gives the names of its files, the
// application file <key>.qmz last, and its version. False, with `problem` saying why (GBK
// text), when the feed is refused, has no such release or no application file in it, or a file
// is not as it says.
bool FetchSignedRelease(const Text& key, const Text& staging, std::vector<Text>& names,
                        Text& version, Text& problem);

}  // namespace kesto::update
