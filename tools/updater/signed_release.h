// An application's files as the vendor's signed release feed describes them: the feed is
// fetched and checked first (signature, form, expiry, and a sequence number never below the
// highest one accepted before, kept in the program folder's up.ini so that a mirror cannot roll
// the seller back), then each file of the key's release is fetched and checked against it.
#pragma once

#include <vector>

#include "runtime/core.h"

namespace kesto::updater {

// The feed's address on the update server.
std::string FeedAddress();

// Fetches the release of `key` into `staging` and gives the names of its files, the
// application file <key>.qmz last, and its version. False, with `problem` saying why (GBK
// text), when the feed is refused, has no such release or no application file in it, or a file
// is not as it says.
bool FetchSignedRelease(const Text& key, const Text& staging, std::vector<Text>& names,
                        Text& version, Text& problem);

// Notes the version of an application once its files are in place.
void RecordInstalledVersion(const Text& key, const Text& version);

}  // namespace kesto::updater
