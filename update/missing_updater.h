// The updater file fetched by the platform when it is missing or cannot start: release "up" of
// the vendor's signed feed, by the road every update takes.
#pragma once

#include "runtime/core.h"

namespace kesto::update {

// Fetches release "up" (its file up.qmz last) into the stage, checked against the feed, and
// renames up.qmz into the program folder whole, noting its version. An error page, a cut-short
// file or a program from a hijacked connection is never saved: false, with nothing saved and
// `problem` saying why (GBK text). Its progress is TransferShare's.
bool FetchMissingUpdater(Text& problem);

}  // namespace kesto::update
