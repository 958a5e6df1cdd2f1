// Installing an application from the update server's packages.
#pragma once

#include "runtime/core.h"

namespace kesto::updater {

// Fetches the packages from this "http://host:port" instead of the built-in update server (for
// tests); an empty text goes back to the built-in one.
void OverridePackageServer(const std::string& server);

// "http://host:port" of the update server the packages and the release feed come from.
std::string PackageServer();

// Address of one file of the package of `key` ("qmz", "dat" or "gif") on the update server.
std::string PackageFileUrl(const Text& key, const char* extension);

// Downloads the application's files into a temporary folder beside the app folder, then renames
// them into app\<key> (the application file last, so the platform's list never shows an
// application without its title and tile). With the vendor's key the files are the key's
// release in the signed release feed, each checked against it; without one they are <key>.qmz
// and the optional <key>.dat and <key>.gif. On failure nothing new is left below the app folder
// and `problem` says why (GBK text).
bool InstallPackage(const Text& key, Text& problem);

}  // namespace kesto::updater
