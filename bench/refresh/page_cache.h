// Emptying the system's page cache, so that a repetition reads its files from the disk as after
// a restart.
#pragma once

#include <string>

namespace kesto::bench {

// Writes out what is pending and drops the page cache with the dentries and inodes. Empty on
// success, else why it could not (only root may).
std::string DropPageCache();

}  // namespace kesto::bench
