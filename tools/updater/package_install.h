// Installing an application from the update server's packages.
#pragma once

#include "runtime/core.h"

namespace kesto::updater {

// Fetches the packages from this "http://host:port" instead of the built-in update server (for
// tests); an empty text goes back to the built-in one.
void OverridePackageServer(const std::string& server);

// Address of one file of the package of `key` ("qmz", "dat" or "gif") on the update server.
std::string PackageFileUrl(const Text& key, const char* extension);

// Downloads <key>.qmz, <key>.dat and <key>.gif into a temporary folder beside the app folder,
// then renames them into app\<key> (the application file last, so the platform's list never
// shows an application without its title and tile). The .dat and .gif are optional on the
// server; the application file is not. On failure nothing new is left below the app folder and
// `problem` says why (GBK text).
bool InstallPackage(const Text& key, Text& problem);

}  // namespace kesto::updater
