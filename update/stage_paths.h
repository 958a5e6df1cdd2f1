// Where a program folder keeps its update state: <program folder>\.up-stage, with a folder of
// records per target and the one lock of the whole state. The lock's file never moves, not even
// when the updater replaces itself, so every process that asks for it asks for the same file.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// What a start waits for the lock at most before it starts the installed release as it is.
constexpr int kStartLockWaitMilliseconds = 2000;

// The staged release's version, kept in its ready folder: release files never start with a ".",
// so it cannot meet one of them.
constexpr const char* kStagedVersionFile = ".version";

// <program folder>\.up-stage.
Text StageRoot();
// <program folder>\.up-stage\<target>: the staged, kept and journal records of a target.
Text StageFolder(const Text& target);
// <program folder>\.up-stage\update.lock, made when missing; empty when it cannot be made.
// Staging, applying, rolling back and the kept feed are done under it.
Text UpdateLockFile();

}  // namespace kesto::update
