// The code lists that GS1 data may carry values of: ISO countries and currencies, and GS1's package
// types, as third_party/code-lists holds them when the library is built.
#pragma once

#include <string_view>

namespace varnel {

bool IsIsoCountryNumeric(std::string_view code);   // ISO 3166-1, three digits: "276"
bool IsIsoCountryAlpha2(std::string_view code);    // ISO 3166-1, two capitals: "DE"
bool IsIsoCurrencyNumeric(std::string_view code);  // ISO 4217, three digits: "978"
bool IsGs1PackageType(std::string_view code);      // GS1's PackageTypeCode list: "BX"

}  // namespace varnel
