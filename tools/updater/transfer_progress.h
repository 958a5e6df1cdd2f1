// How far the updater's downloads have come, and the seller's wish to give them up: the
// downloads note every chunk here and stop at the next one once the install is cancelled; the
// install window reads it from the user-interface thread.
#pragma once

#include <cstdint>

namespace kesto::updater {

// Starts counting afresh for downloads of `expected` bytes in all (0: not known).
void ExpectTransfer(std::uint64_t expected);
void NoteReceived(std::uint64_t bytes);
// The share received, in ten-thousandths; 0 while the whole size is not known.
int TransferShare();

void CancelTransfer();
bool TransferCancelled();
// Forgets the counts and a cancel, once the install they were for has ended.
void ResetTransfer();

}  // namespace kesto::updater
