#include "runtime/command_line.h"

#include <gtest/gtest.h>

namespace kesto {
namespace {

std::vector<Text> Args(const Text& line) {
  return ParseCommandLineArgs(line).Items();
}

TEST(CommandLineArgs, SkipsTheProgramPath) {
  EXPECT_EQ(Args("\"\\a b\\kesto\" -qmz"), (std::vector<Text>{"-qmz"}));
  EXPECT_EQ(Args("\\a\\kesto -qmz"), (std::vector<Text>{"-qmz"}));
  EXPECT_EQ(Args("\\a\\kesto"), (std::vector<Text>{}));
  EXPECT_EQ(Args("\"\\a\\kesto"), (std::vector<Text>{}));
  EXPECT_EQ(Args(""), (std::vector<Text>{}));
}

TEST(CommandLineArgs, QuotesGroupWithoutEscapes) {
  EXPECT_EQ(Args("p  a\t\"b c\"d \"\" \"e"), (std::vector<Text>{"a", "b c", "d", "", "e"}));
  EXPECT_EQ(Args("p x\"y\""), (std::vector<Text>{"x", "y"}));
  // Bytes of two-byte characters are argument bytes, not blanks.
  EXPECT_EQ(Args("p \xB0\xA1 -qmz"), (std::vector<Text>{"\xB0\xA1", "-qmz"}));
}

}  // namespace
}  // namespace kesto
