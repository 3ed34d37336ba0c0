// Integer arithmetic that cannot overflow. Positions and sizes come from caller-chosen centimetres,
// ratios, font heights and picture sizes; an extreme choice must give an extreme picture, not
// undefined behaviour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace varnel {

inline int ClampToInt(std::int64_t value) {
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

// Cuts toward zero like a C conversion, but saturates instead of overflowing; NaN gives 0.
inline int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

inline int SaturatingAdd(int a, int b) { return ClampToInt(std::int64_t{a} + b); }
inline int SaturatingSub(int a, int b) { return ClampToInt(std::int64_t{a} - b); }

}  // namespace varnel
