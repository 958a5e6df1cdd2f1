// What the fuzz targets share: a property check that stops the run as a sanitizer finding does,
// and a reader that cuts an input into the pieces a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/gbk_chars.h"

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : kesto::fuzz::Broken(#condition, __FILE__, __LINE__))

namespace kesto::fuzz {

[[noreturn]] inline void Broken(const char* property, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
  std::abort();
}

// True when every byte of 0x80 or more leads a two-byte GBK character with a valid second
// byte: the texts that arrive from converted names and well-made files.
inline bool IsWholeGbk(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (!gbk::IsLeadByte(text[pos])) continue;
    if (pos + 1 >= text.size()) return false;
    unsigned char lead = text[pos];
    unsigned char trail = text[++pos];
    if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      return false;
    }
  }
  return true;
}

// Zero bytes end the texts inside the program, so they separate an input's pieces.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  // The next byte; 0 once the input is used up.
  std::uint8_t Byte() { return pos_ < size_ ? static_cast<std::uint8_t>(data_[pos_++]) : 0; }

  // The bytes up to the next zero byte, which is passed over.
  std::string Piece() {
    std::size_t begin = pos_;
    while (pos_ < size_ && data_[pos_] != '\0') ++pos_;
    std::string piece(data_ + begin, pos_ - begin);
    if (pos_ < size_) ++pos_;
    return piece;
  }

  bool AtEnd() const { return pos_ >= size_; }

  // Whatever is left, zero bytes included.
  std::string Rest() {
    std::string rest(data_ + pos_, size_ - pos_);
    pos_ = size_;
    return rest;
  }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace kesto::fuzz
