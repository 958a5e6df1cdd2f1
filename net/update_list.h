// The update list that names where the updater program is downloaded from, and with which
// signature of the vendor's.
#pragma once

#include "runtime/core.h"

namespace kesto::net {

// The updater's address from an update list: the third of exactly three "|"-separated fields
// of the first "[up]...[/up]" block, taken as it stands; empty when there is none.
Text UpdaterAddressFromList(const Bytes& list);

// The vendor's signature of the updater file's bytes: the second field of the same block, in
// hexadecimal digits of its DER encoding; empty when there is none or it is not hexadecimal.
Bytes UpdaterSignatureFromList(const Bytes& list);

}  // namespace kesto::net
