// Page texts cut and cleaned before they become GBK.
#include "runtime/win32/toolkit/browser_page_text.h"

#include <algorithm>
#include <string>

#include "runtime/win32/wide_text.h"

namespace kesto::win32 {

namespace {

bool IsHighSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
bool IsControl(wchar_t unit) {
  return unit < 0x20 || unit == 0x7F;
}

}  // namespace

Text FromPageText(std::wstring_view text, std::size_t limit) {
  std::wstring clean;
  clean.reserve(std::min(text.size(), limit));
  for (std::size_t i = 0; i < text.size(); ++i) {
    wchar_t unit = text[i];
    bool pair = IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    if (clean.size() + (pair ? 2 : 1) > limit) break;
    if (pair) {
      clean += unit;
      clean += text[++i];
    } else if (IsControl(unit) || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      clean += L'?';
    } else {
      clean += unit;
    }
  }
  return FromWide(clean);
}

}  // namespace kesto::win32
