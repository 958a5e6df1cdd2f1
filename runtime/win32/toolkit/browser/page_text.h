// Texts that come from a page (element IDs and names, titles, addresses) made safe for the
// program: the page decides their content, so they may be huge, hold control characters or
// not even be valid UTF-16.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/core.h"

namespace kesto::win32 {

// An element's ID or name is an application key, a file name: 256 characters are plenty.
inline constexpr std::size_t kElementTextLimit = 256;
// Titles, status texts and addresses.
inline constexpr std::size_t kPageTextLimit = 4096;

// The first `limit` characters of `text` as GBK (so at most twice as many bytes). Control
// characters, lone surrogates and characters GBK cannot hold (a surrogate pair is one) each
// become one "?".
Text FromPageText(std::wstring_view text, std::size_t limit);

}  // namespace kesto::win32
