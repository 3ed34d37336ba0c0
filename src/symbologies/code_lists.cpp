#include "symbologies/code_lists.h"

#include <algorithm>
#include <iterator>

// Written at build time from third_party/code-lists by cmake/code_lists.py.
#include "symbologies/code_list_tables.h"

namespace varnel {
namespace {

template <std::size_t N>
bool Listed(const std::string_view (&sorted)[N], std::string_view code) {
  return std::binary_search(std::begin(sorted), std::end(sorted), code);
}

}  // namespace

bool IsIsoCountryNumeric(std::string_view code) { return Listed(code_lists::kCountryNumeric, code); }
bool IsIsoCountryAlpha2(std::string_view code) { return Listed(code_lists::kCountryAlpha2, code); }
bool IsIsoCurrencyNumeric(std::string_view code) { return Listed(code_lists::kCurrencyNumeric, code); }
bool IsGs1PackageType(std::string_view code) { return Listed(code_lists::kPackageTypes, code); }

}  // namespace varnel
