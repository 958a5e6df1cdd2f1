// Pure text helpers of the HTTP routine: addresses split into host, port and path, values
// pulled out of header lines, and the cookies of a response merged into the caller's. They
// count bytes, fold ASCII letters only and never match inside a two-byte character; no input
// makes them fail.
#pragma once

#include "runtime/core.h"

namespace kesto::net {

// The bytes between the first `start` and the next `end` after it; empty without both.
Text TextBetween(const Text& text, const Text& start, const Text& end);
// The trimmed text after the first ":"; empty without one.
Text ValueAfterColon(const Text& text);

// The lower-case host of an address ("http://" assumed when the scheme is missing), with its
// ":port" only when asked.
Text UrlHost(const Text& url, bool keepPort = false);
// Whether the address's scheme is "https", in any letter case.
bool IsSecureUrl(const Text& url);
// The port written in the address, else 443 for "https" and 80 for anything else.
int UrlPort(const Text& url);
// The object path after the host, letter case, query and fragment kept; "/" when none.
Text UrlPath(const Text& url);

// The trimmed name of one "name=value" cookie item.
Text CookieName(const Text& item);
// Merges the response's cookies into the caller's: the response's items first, then the
// caller's items of other names, "=deleted" items dropped, repeats removed. Both variables
// lose their spaces; `cookies` receives the merged text, which is also returned.
Text MergeCookies(Text& cookies, Text& responseCookies);
// The items of `text` split at `separator`, each kept at its first occurrence only.
Text RemoveDuplicateItems(const Text& text, const Text& separator);

}  // namespace kesto::net
