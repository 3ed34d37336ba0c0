#include "symbology_names.h"

#include <cctype>
#include <string>

#include "symbologies/catalogue.h"
#include "value_parsers.h"

namespace varnel::tool {
namespace {

// Lower case without the separators people write differently.
std::string Folded(std::string_view text) {
  std::string folded;
  for (const char c : text) {
    if (c == '-' || c == '_' || c == ' ') continue;
    folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return folded;
}

}  // namespace

std::optional<int> FindSymbology(std::string_view text) {
  if (const std::optional<int> number = ParseInt(text)) {
    if (*number >= 0 && *number < kSymbologyCount) return number;
    return std::nullopt;
  }
  const std::string wanted = Folded(text);
  for (const SymbologyRow& row : kSymbologies) {
    if (Folded(row.name) == wanted) return row.number;
  }
  return std::nullopt;
}

std::string_view ShortTitle(int symbology) {
  const std::string_view title = kSymbologies[symbology].title;
  return title.substr(0, title.find(','));
}

}  // namespace varnel::tool
