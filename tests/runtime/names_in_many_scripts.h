// Folder and file names in many scripts, as sellers' account and folder names come: most of
// their letters are outside GBK. UTF-8, whatever the texts' compiled character set.
#pragma once

#include <string_view>

namespace kesto::testing {

inline constexpr std::u8string_view kNamesInManyScripts[] = {
    u8"Bjørn Ødegård", u8"Ελένη",  u8"😀 shop",   u8"Алёна",         u8"محمد",
    u8"हिन्दी",         u8"김민준", u8"ひらがな", u8"Đặng Thị 中文", u8"a\u0301 ĳ ＡＢ"};

}  // namespace kesto::testing
