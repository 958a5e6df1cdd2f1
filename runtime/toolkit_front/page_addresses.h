// What the addresses of web pages may reach. The panels show pages that come over the network,
// so a page may ask but never command: only the box's own page is heard, and only web pages
// and mail go out to the user's desktop.
#pragma once

#include "runtime/core.h"

namespace kesto::front {

// The scheme an address names, in lower case; empty when it names none. "host:port/path" names
// a host with its port, not a scheme.
Text SchemeOf(const Text& address);

// The address with "http://" in front when it names no scheme.
Text WithScheme(const Text& address);

// The address as the user's desktop may be given it (with a scheme, as WithScheme): empty when
// it is no http, https or mailto address (file:, smb:, javascript:, data:, a program's own
// scheme, ...) or holds control characters.
Text DesktopAddress(const Text& address);

// Whether the page at `pageAddress` is the box's own: an http or https page on the site of
// `ownAddress`, the address the program gave the box: the same scheme, host and port, or the
// same host over https where the box was given plain http on the usual ports.
bool IsOwnPage(const Text& pageAddress, const Text& ownAddress);

}  // namespace kesto::front
