// Rounding, remainders and bit operations on numbers.
#include <cmath>

#include "runtime/core.h"

namespace kesto {

// Halves go away from zero; 1e-12 lifts values stored just below a half (2.675 is held as
// 2.67499999...) over it.
double FixDecimals(double x, int places) {
  if (!std::isfinite(x)) return x;
  double scale = std::pow(10.0, std::abs(places));
  double magnitude = places >= 0 ? std::fabs(x) * scale : std::fabs(x) / scale;
  if (!std::isfinite(magnitude) || !std::isfinite(scale) || magnitude >= 0x1p52) return x;
  magnitude += 1e-12;
  double whole = std::floor(magnitude);
  if (magnitude - whole >= 0.5) whole += 1.0;
  if (whole == 0) return 0.0;
  double result = places >= 0 ? whole / scale : whole * scale;
  return std::copysign(result, x);
}

double Remainder(double a, double b) {
  if (b == 0) FatalError(0, "不能求余数于零");
  return std::fmod(a, b);
}

namespace {
template <class Op>
int Fold(std::initializer_list<int> values, Op op) {
  auto it = values.begin();
  if (it == values.end()) return 0;
  unsigned result = static_cast<unsigned>(*it);
  for (++it; it != values.end(); ++it) result = op(result, static_cast<unsigned>(*it));
  return static_cast<int>(result);
}
}  // namespace

int BitAnd(std::initializer_list<int> values) {
  return Fold(values, [](unsigned a, unsigned b) { return a & b; });
}
int BitOr(std::initializer_list<int> values) {
  return Fold(values, [](unsigned a, unsigned b) { return a | b; });
}
int BitXor(std::initializer_list<int> values) {
  return Fold(values, [](unsigned a, unsigned b) { return a ^ b; });
}

int ShiftLeft(int value, int n) {
  return static_cast<int>(static_cast<unsigned>(value) << (n & 31));
}

int ShiftRight(int value, int n) {
  return value >> (n & 31);
}

int ColorValue(int red, int green, int blue) {
  return static_cast<int>(static_cast<unsigned>(red) + static_cast<unsigned>(green) * 256u +
                          static_cast<unsigned>(blue) * 65536u);
}

}  // namespace kesto
