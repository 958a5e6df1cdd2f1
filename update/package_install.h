// Installing an application from the update server's packages.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// Downloads the application's files, the key's release in the vendor's signed release feed,
// each checked against it, into a temporary folder beside the app folder, then renames them
// into app\<key> (the application file last, so the platform's list never shows an application
// without its title and tile). A key that is no application key is refused before anything is
// touched. On failure nothing new is left below the app folder and `problem` says why (GBK
// text).
bool InstallPackage(const Text& key, Text& problem);

}  // namespace kesto::update
