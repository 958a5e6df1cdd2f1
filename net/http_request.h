// One HTTP or HTTPS exchange with default header lines, cookie merging, an optional proxy and
// redirect reporting; every call opens and closes its own connection and request, through the
// program's one internet session (net/internet_session.h) unless it names a proxy of its own.
#pragma once

#include <optional>

#include "runtime/core.h"

namespace kesto::net {

// The agent sent when the caller's header lines name none.
extern const char* const kDefaultUserAgent;

// The optional arguments, in their customary order. A pointer left null is an argument not
// supplied; one that points at a variable (empty or not) is supplied, and the routine reads
// and rewrites that variable as described at each field. `method`, `postText` and
// `noRedirect` act the same omitted as with their defaults here.
struct HttpRequestOptions {
  int method = 0;           // 1 sends "POST", anything else "GET"; nonzero sends a body
  Text postText;            // the body when `postBytes` holds none
  Text* cookies = nullptr;  // in/out: sent as the Cookie line, then merged with the reply's;
                            // supplying it also keeps the exchange out of the cookie store
  Text* responseCookies = nullptr;   // out: the reply's cookies, "name=value" joined by "; "
  Text* headers = nullptr;           // in/out: extra lines; afterwards all lines sent
  Text* redirectLocation = nullptr;  // in/out: the reply's Location value
  bool noRedirect = false;           // true leaves redirects to the caller
  Bytes* postBytes = nullptr;        // in/out: the body; filled from `postText` when empty
  std::optional<Text> proxy;         // "host:port" of an HTTP proxy
  Text* responseHeaders = nullptr;   // out: the reply's raw header block
  std::size_t maxBytes = 0;          // a body longer than this is no answer; 0: no bound
};

// The agent a request with these header lines opens its session with: the caller's
// User-Agent value, or the default when the lines carry none.
Text RequestAgent(const Text& headers);

// Returns the response body; empty when the exchange could not be opened (the variables
// behind the options are then left as they were), the body did not arrive whole, or it grew
// beyond `maxBytes`.
Bytes HttpRequest(const Text& url, const HttpRequestOptions& options = {});

}  // namespace kesto::net
