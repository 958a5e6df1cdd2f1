#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "runtime/core.h"
#include "runtime/headless/frame.h"

namespace kesto {
namespace {

TEST(ToInteger, ReadsTextAsAtoiDoes) {
  EXPECT_EQ(ToInteger(Text{}), 0);
  EXPECT_EQ(ToInteger("12ab"), 12);
  EXPECT_EQ(ToInteger(" \t-42"), -42);
  EXPECT_EQ(ToInteger("+7"), 7);
  EXPECT_EQ(ToInteger("abc"), 0);
  EXPECT_EQ(ToInteger("- 5"), 0);
  EXPECT_EQ(ToInteger("99999999999"), INT_MAX);
  EXPECT_EQ(ToInteger("-99999999999"), INT_MIN);
}

TEST(ToInteger, TruncatesRealsTowardZero) {
  EXPECT_EQ(ToInteger(-2.7), -2);
  EXPECT_EQ(ToInteger(2.7), 2);
  EXPECT_EQ(ToInteger(1e20), INT_MIN);
  EXPECT_EQ(ToInteger(std::nan("")), INT_MIN);
}

TEST(ToText, NumbersBytesAndLogicals) {
  EXPECT_EQ(ToText(-15), "-15");
  EXPECT_EQ(ToText(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(ToText(true), "真");
  EXPECT_EQ(ToText(false), "假");
  EXPECT_EQ(ToBytes("a\xB0\xA1"), (Bytes{'a', 0xB0, 0xA1}));
}

TEST(FixDecimals, HalvesGoAwayFromZero) {
  EXPECT_DOUBLE_EQ(FixDecimals(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(FixDecimals(-2.675, 2), -2.68);
  EXPECT_DOUBLE_EQ(FixDecimals(2.5), 3.0);
  EXPECT_DOUBLE_EQ(FixDecimals(-2.5), -3.0);
  EXPECT_DOUBLE_EQ(FixDecimals(2.4999), 2.0);
  EXPECT_DOUBLE_EQ(FixDecimals(1250, -2), 1300.0);
  EXPECT_DOUBLE_EQ(FixDecimals(1249, -2), 1200.0);
  EXPECT_DOUBLE_EQ(FixDecimals(1e300, 5), 1e300);
}

TEST(Numbers, BitsShiftsAndColours) {
  EXPECT_EQ(BitAnd({0xFF, 0x0F, 0x3C}), 0x0C);
  EXPECT_EQ(BitOr({1, 2, 8}), 11);
  EXPECT_EQ(BitXor({5, 3}), 6);
  EXPECT_EQ(ShiftLeft(1, 33), 2);
  EXPECT_EQ(ShiftLeft(1, 31), INT_MIN);
  EXPECT_EQ(ShiftRight(-8, 1), -4);
  EXPECT_EQ(ShiftRight(INT_MIN, 31), -1);
  EXPECT_EQ(ColorValue(1, 2, 3), 0x030201);
  EXPECT_DOUBLE_EQ(Remainder(-7, 3), -1.0);
}

TEST(Numbers, RemainderByZeroIsFatal) {
  headless::ResetFrame();
  try {
    Remainder(1, 0);
    FAIL() << "went on after a zero divisor";
  } catch (const headless::ProgramEnded& end) {
    EXPECT_EQ(end.exitCode, -1);
  }
  auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n");
}

TEST(ByteArrays, SlicesClampAndBuild) {
  Bytes abc{'a', 'b', 'c'};
  EXPECT_EQ(BytesLength(abc), 3);
  EXPECT_EQ(LeftBytes(abc, 2), (Bytes{'a', 'b'}));
  EXPECT_EQ(LeftBytes(abc, 7), abc);
  EXPECT_EQ(LeftBytes(abc, -1), Bytes{});
  EXPECT_EQ(RightBytes(abc, 1), (Bytes{'c'}));
  EXPECT_EQ(RightBytes(abc, 9), abc);
  EXPECT_EQ(ZeroBytes(2), (Bytes{0, 0}));
  EXPECT_EQ(ZeroBytes(-2), Bytes{});
  EXPECT_EQ(RepeatBytes(2, Bytes{1, 2}), (Bytes{1, 2, 1, 2}));
  EXPECT_EQ(RepeatBytes(0, abc), Bytes{});
  EXPECT_EQ(RepeatBytes(INT_MAX, abc), Bytes{});
}

}  // namespace
}  // namespace kesto
