// The one internet session of a program, on the system's own internet settings: the proxy the
// seller's machine names, an auto-configuration script included (the environment on POSIX).
// The update list, the catalogue downloads, the feed and the release files all go through it,
// so that behind a company or school proxy they reach the server alike or fail alike.
#pragma once

#include "runtime/inet.h"

namespace kesto::net {

// The session, opened at the first call and kept open until the program ends; every thread
// may open connections and addresses through it, and nobody closes it. Its agent is the
// platform's default one; a request that names its own User-Agent line sends that instead.
// 0 when the internet layer cannot start; a later call tries again.
inet::Handle InternetSession();

}  // namespace kesto::net
