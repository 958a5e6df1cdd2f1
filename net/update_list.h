// The update list that names where the updater program is downloaded from.
#pragma once

#include "runtime/core.h"

namespace kesto::net {

// The updater's address from an update list: the third of exactly three "|"-separated fields
// of the first "[up]...[/up]" block, taken as it stands; empty when there is none.
Text UpdaterAddressFromList(const Bytes& list);

}  // namespace kesto::net
