// Page texts cut and cleaned before they become GBK.
#include "runtime/win32/toolkit/browser/page_text.h"

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
  for (std::size_t i = 0; i < text.size() && clean.size() < limit; ++i) {
    wchar_t unit = text[i];
    bool pair = IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    if (pair) {
      // Outside the Basic Multilingual Plane, where GBK holds nothing.
      clean += L'?';
      ++i;
    } else if (IsControl(unit) || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      clean += L'?';
    } else {
      clean += unit;
    }
  }
  return FromWideCodePage936(clean);
}

}  // namespace kesto::win32
