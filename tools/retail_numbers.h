// EAN, JAN, UPC and ISBN numbers as people have them, printed under a symbol or on a book, turned
// into the data the library takes: it appends the check digit itself and wants the number without
// it, and it draws UPC-E from the UPC-A number that UPC-E shortens. And the GS1 keys of SSCC-18 and
// AI 01, which the library draws as given: with their check digit, checked or added.
#pragma once

#include <optional>
#include <string>

namespace varnel::tool {

struct RetailData {
  std::string data;               // what the library is given
  std::optional<int> upceSystem;  // the UPC-E number system, when the number or the option names it
  std::string refusal;            // why the number cannot be drawn; then the rest is unset
};

// EAN-13 and JAN-13 also take 13 digits, EAN-8 and JAN-8 8 and UPC-A 12, ending in their check
// digit, which is checked and dropped. ISBN takes the 13-digit 978 number as well as the 10-digit
// ISBN, whose check digit is checked too. UPC-E takes, beside the UPC-A number, the digits printed
// under a UPC-E symbol: 6, or 7 starting with the number system, or 8 ending in the check digit.
// A number that carries its number system sets it unless `upceSystem` (the option) already did.
// SSCC-18 takes 17 digits, to which the check digit is added, or 18 ending in the right one; AI 01
// likewise 13 or 14; anything else is refused. Other data is passed on unchanged, for the library
// to draw or refuse.
RetailData ToLibraryData(int symbology, const std::string& data, std::optional<int> upceSystem);

}  // namespace varnel::tool
