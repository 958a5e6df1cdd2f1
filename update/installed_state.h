// What a program folder has installed, kept in its up.ini beside the programs: each target's
// version and the highest feed sequence accepted. Both are floors that only rise: the installers
// write them, every program built knows its own (the built-in release version and feed
// sequence), and no release or feed below them is ever taken, so a mirror or a replayed feed
// cannot take a seller back to an older release.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/core.h"

namespace kesto::update {

// <program folder>\up.ini.
Text InstalledStatePath();

// The version installed for `target`: the one noted in up.ini; for the platform without a
// note, the release this program was built as (the platform and the updater ship together);
// for the updater never below its own; "0" for an application installed before any note.
Text InstalledVersion(const Text& target);
// Notes the version of a target once its files are in place.
void RecordInstalledVersion(const Text& target, const Text& version);

// A release that was rolled back, or withdrawn by the vendor while installed, is refused: it is
// never staged or applied again, and one installed gives way to a staged release even when that
// is older.
bool IsRefusedRelease(const Text& target, const Text& version);
void RefuseRelease(const Text& target, const Text& version);

// The lowest feed sequence still accepted: the highest one noted, and never below the one this
// program was built from.
std::uint64_t FeedFloor();
// Raises the noted floor to `sequence` (never lowers it).
void RaiseFeedFloor(std::uint64_t sequence);

// The update server ("http://host:port"), where the feed and the releases are; tests point it at
// their own server, and an empty address restores the built-in one.
std::string UpdateServer();
void OverrideUpdateServer(const std::string& server);
// The signed release feed's address; its signature is at the same address + ".sig".
std::string FeedAddress();

}  // namespace kesto::update
