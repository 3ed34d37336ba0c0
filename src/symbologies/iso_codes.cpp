#include "symbologies/iso_codes.h"

#include <algorithm>
#include <iterator>

// Written at build time from the iso-codes package by cmake/iso_code_lists.py.
#include "symbologies/iso_code_lists.h"

namespace varnel {
namespace {

template <std::size_t N>
bool Listed(const std::string_view (&sorted)[N], std::string_view code) {
  return std::binary_search(std::begin(sorted), std::end(sorted), code);
}

}  // namespace

bool IsIsoCountryNumeric(std::string_view code) { return Listed(iso_codes::kCountryNumeric, code); }
bool IsIsoCountryAlpha2(std::string_view code) { return Listed(iso_codes::kCountryAlpha2, code); }
bool IsIsoCurrencyNumeric(std::string_view code) { return Listed(iso_codes::kCurrencyNumeric, code); }

}  // namespace varnel
