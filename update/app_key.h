// Whether a text names an application: the one check for every key that comes from a tile, a
// web page, qmztx.ini or the release feed, made before any file of that key is touched.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// The release names of the platform and of the updater, which no application may take.
inline constexpr char kPlatformRelease[] = "pt";
inline constexpr char kUpdaterRelease[] = "up";

// True for a name that can be an application's folder, file base name and qmztx.ini key on
// every system: not empty and at most 64 bytes; no control bytes, blanks at either end, path or
// stream separators, wildcards, ".", or the "[", "]" and "=" that would reshape the profile
// file; not a Windows device name (CON, NUL, COM1, ...) and not "pt" or "up" in any case.
bool IsApplicationKey(const Text& key);
// An application key, or the platform's or the updater's release name.
bool IsReleaseName(const Text& name);

}  // namespace kesto::update
