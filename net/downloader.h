// Fetching one address whole, with the system's proxy settings, progress reports and an
// optional range start.
#pragma once

#include <functional>
#include <optional>

#include "runtime/core.h"

namespace kesto::net {

// Called after every received chunk with: the announced total (0 when none), the bytes
// received so far, the milliseconds since reading began (never 0), and received minus the
// range start. Runs on the thread that called Download.
using ProgressCallback = std::function<void(int total, int received, int elapsed, int fromStart)>;

// Returns the whole body; empty on failure. A session or address that cannot be opened is
// reported to the user; a transfer that breaks off is not. `rangeStart`, when given (0
// included), asks for the bytes from that offset on. An error page comes back like any other
// body; `status`, when given, receives the response's status code (0 when none came), so a
// caller that must not keep an error page can tell. A body that grows beyond `maxBytes` (0:
// no bound) is given up, and nothing is returned.
Bytes Download(const Text& url, std::optional<ProgressCallback> progress = {},
               std::optional<int> rangeStart = {}, int* status = nullptr, std::size_t maxBytes = 0);

}  // namespace kesto::net
