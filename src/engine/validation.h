// Whether the data can be drawn in the chosen symbology. On refusal a fixed English message takes
// the symbol's place in the picture.
#pragma once

#include "drawing/context.h"

namespace varnel {

inline constexpr const char kWrongSupplement2[] = "Wrong Supplement 2";
inline constexpr const char kWrongSupplement5[] = "Wrong Supplement 5";
inline constexpr const char kWrongDataFormat[] = "Wrong Data Format";
inline constexpr const char k12DigitsRequired[] = "12 digits are required.";
inline constexpr const char k7DigitsRequired[] = "7 digits are required.";
inline constexpr const char k10DigitsRequired[] = "10 digits are required.";
inline constexpr const char k11DigitsRequired[] = "11 digits are required.";
inline constexpr const char kOnlyDigitsAllowed[] = "Only digits are allowed.";
inline constexpr const char kLeading49Required[] = "The leading 49 are required.";
inline constexpr const char kEvenLengthRequired[] = "The even length data is required.";
inline constexpr const char kNumberSystemRequired[] = "The first digit must be the UPC-E number system.";
inline constexpr const char kZeroSuppressibleRequired[] = "A zero-suppressible number is required.";

// 1 when every character is a digit and, for a required length above 0, the length matches.
int IsDigitString(const char* text, int requiredLength);

// 1 when workMessage and the add-on settings may be rendered; otherwise 0 with errorMessage set.
int ValidateMessage(Context& context);

}  // namespace varnel
