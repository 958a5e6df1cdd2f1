// How far the updater's downloads have come, and the seller's wish to give them up: the
// downloads note every chunk here, and a cancel closes the connection of each download under
// way, so that one waiting on a silent or slow server ends within a second; the install
// window reads the share from the user-interface thread.
#pragma once

#include <cstdint>

#include "runtime/inet.h"

namespace kesto::update {

// Starts counting afresh for downloads of `expected` bytes in all (0: not known).
void ExpectTransfer(std::uint64_t expected);
void NoteReceived(std::uint64_t bytes);
// The share received, in ten-thousandths; 0 while the whole size is not known.
int TransferShare();

void CancelTransfer();
bool TransferCancelled();
// Forgets the counts and a cancel, once the install they were for has ended.
void ResetTransfer();

// Puts the connection of a download where a cancel closes it. False, the connection closed,
// when the install is cancelled already.
bool WatchConnection(inet::Handle connection);
// Closes the connection of a download that has ended, unless a cancel has closed it.
void CloseConnection(inet::Handle connection);

}  // namespace kesto::update
