// A fresh temporary folder per test, removed afterwards, with its path as the program writes
// it (GBK) and as the W functions take it (UTF-16).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "runtime/core.h"
#include "runtime/win32/wide_text.h"

namespace kesto::testing {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t name[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, name), 0u);
    wide_ = std::filesystem::path(name) / ("kesto-test-" + std::to_string(GetCurrentProcessId()) +
                                           "-" + std::to_string(GetTickCount64()));
    ASSERT_TRUE(std::filesystem::create_directory(wide_));
    inside_ = win32::FromWide(wide_.wstring());
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(wide_, ignored);
  }

  // The folder as the program writes it, optionally with a name below it.
  Text Inside(const Text& name = "") const {
    return name.empty() ? inside_ : inside_ + "\\" + name;
  }
  std::filesystem::path Wide(const std::wstring& name = L"") const {
    return name.empty() ? wide_ : wide_ / name;
  }
  void WriteWide(const std::wstring& name, const std::string& content) const {
    std::ofstream(Wide(name), std::ios::binary) << content;
  }
  std::string ReadWide(const std::wstring& name) const {
    std::ifstream in(Wide(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path wide_;
  Text inside_;
};

// A UTF-8 name (kNamesInManyScripts) as the W functions take it.
inline std::wstring WideName(std::u8string_view utf8) {
  const char* bytes = reinterpret_cast<const char*>(utf8.data());
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

}  // namespace kesto::testing
