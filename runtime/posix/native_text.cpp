// GB18030 <-> UTF-8 through iconv, and the "\" <-> "/" path mapping.
#include "runtime/posix/native_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "runtime/gbk_chars.h"

namespace kesto::posix {

namespace {

// One converter per direction and thread: an iconv descriptor holds shift state and must not
// be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on a bad or unrepresentable sequence either appends `replacement`
  // and goes on after `skip(bad sequence)` bytes, or (with no replacement) gives nothing.
  template <class Skip>
  std::optional<std::string> Run(const std::string& in, const char* replacement, Skip skip) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[4096];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t done = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (done != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      if (!replacement) return std::nullopt;
      out += replacement;
      std::size_t n = std::min(inLeft, skip(reinterpret_cast<const unsigned char*>(inPtr), inLeft));
      inPtr += n;
      inLeft -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

// GB18030 gives every GBK character its GBK bytes and spells every other character in four
// bytes, so the program's texts stay GBK and any name the system holds comes in and goes back
// out unchanged.
Converter& FromGbk() {
  thread_local Converter converter("UTF-8", "GB18030");
  return converter;
}
Converter& ToGbk() {
  thread_local Converter converter("GB18030", "UTF-8");
  return converter;
}
Converter& ToCodePage936() {
  thread_local Converter converter("CP936", "UTF-8");
  return converter;
}

// A bad four-byte sequence or GBK pair is dropped as a whole; a byte that starts neither alone,
// so the text after it survives.
std::size_t GbkSkip(const unsigned char* p, std::size_t left) {
  const std::size_t length =
      gbk::CharLength(std::string_view(reinterpret_cast<const char*>(p), left), 0);
  if (length != 2) return length;
  return p[0] >= 0x81 && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F ? 2 : 1;
}

// A well-formed UTF-8 character the other side cannot hold (a surrogate's spelling; for code
// page 936, whatever GBK lacks) is dropped whole; a byte that starts no well-formed character
// alone, so the text after it survives.
std::size_t Utf8Skip(const unsigned char* p, std::size_t left) {
  std::size_t length = p[0] >= 0xF0 && p[0] <= 0xF4   ? 4
                       : p[0] >= 0xE0 && p[0] <= 0xEF ? 3
                       : p[0] >= 0xC2 && p[0] <= 0xDF ? 2
                                                      : 1;
  if (length > left) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 1;
  }
  return length;
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string GbkToUtf8(const Text& text) {
  if (IsAscii(text)) return text;
  return FromGbk().Run(text, "\xEF\xBF\xBD", GbkSkip).value_or(std::string{});
}

Text Utf8ToGbk(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  return ToGbk().Run(utf8, "?", Utf8Skip).value_or(Text{});
}

std::optional<std::string> GbkToUtf8Exact(const Text& text) {
  if (IsAscii(text)) return text;
  return FromGbk().Run(text, nullptr, GbkSkip);
}

std::optional<Text> Utf8ToGbkExact(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  return ToGbk().Run(utf8, nullptr, Utf8Skip);
}

Text Utf8ToCodePage936(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  return ToCodePage936().Run(utf8, "?", Utf8Skip).value_or(Text{});
}

std::optional<Text> Utf8ToCodePage936Exact(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  return ToCodePage936().Run(utf8, nullptr, Utf8Skip);
}

// The separators are swapped on the UTF-8 side, where 0x5C is always "\" and never the second
// byte of a two-byte GBK character.
std::optional<std::string> ToNativePath(const Text& path) {
  if (path.find('\0') != Text::npos) return std::nullopt;
  auto native = GbkToUtf8Exact(path);
  if (native) std::replace(native->begin(), native->end(), '\\', '/');
  return native;
}

Text FromNativePath(const std::string& path) {
  std::string windows = path;
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return Utf8ToGbk(windows);
}

}  // namespace kesto::posix
