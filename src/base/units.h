// Centimetre settings become device units through the screen's pixels per inch.
#pragma once

namespace varnel {

inline constexpr double kInchesPerCm = 0.39370078740157477;  // 1 / 2.54

}  // namespace varnel
