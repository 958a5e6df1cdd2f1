// A fresh temporary folder per test, removed afterwards, with its path in both forms.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "runtime/core.h"
#include "runtime/posix/native_text.h"

namespace kesto::testing {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/kesto-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    native_ = name;
    inside_ = posix::FromNativePath(native_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(native_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(native_, ignored);
  }

  // The folder as the program writes it ("\tmp\kesto-test-..."), optionally with a name.
  Text Inside(const Text& name = "") const {
    return name.empty() ? inside_ : inside_ + "\\" + name;
  }
  std::string Native(const std::string& name = "") const {
    return name.empty() ? native_ : native_ + "/" + name;
  }
  void WriteNative(const std::string& name, const std::string& content) const {
    std::ofstream(Native(name), std::ios::binary) << content;
  }
  std::string ReadNative(const std::string& name) const {
    std::ifstream in(Native(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string native_;
  Text inside_;
};

}  // namespace kesto::testing
