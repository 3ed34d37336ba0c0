// The ISO country and currency codes that GS1 data may carry, as the iso-codes package lists them
// when the library is built.
#pragma once

#include <string_view>

namespace varnel {

bool IsIsoCountryNumeric(std::string_view code);  // ISO 3166-1, three digits: "276"
bool IsIsoCountryAlpha2(std::string_view code);   // ISO 3166-1, two capitals: "DE"
bool IsIsoCurrencyNumeric(std::string_view code); // ISO 4217, three digits: "978"

}  // namespace varnel
