#include "symbology_names.h"

#include <array>
#include <cctype>
#include <string>

#include "value_parsers.h"

namespace varnel::tool {
namespace {

constexpr std::array<SymbologyName, 21> kSymbologies = {{
    {0, "codabar", "Codabar"},
    {1, "code11", "Code 11"},
    {2, "code128", "Code 128, code set chosen automatically"},
    {3, "code39", "Code 39"},
    {4, "code39-ascii", "Code 39 full ASCII"},
    {5, "code93", "Code 93"},
    {6, "ean128", "UCC/EAN-128, all-numeric"},
    {7, "ean13", "EAN-13"},
    {8, "ean8", "EAN-8"},
    {9, "itf", "Interleaved 2 of 5"},
    {10, "isbn", "ISBN, as an EAN-13 beginning 978"},
    {11, "jan13", "JAN-13"},
    {12, "jan8", "JAN-8"},
    {13, "matrix2of5", "Matrix 2 of 5"},
    {14, "msi", "MSI"},
    {15, "planet", "PLANET"},
    {16, "postnet", "POSTNET"},
    {17, "sscc18", "SSCC-18"},
    {18, "ean128-ai01", "UCC/EAN-128 with application identifier 01"},
    {19, "upc-a", "UPC-A"},
    {20, "upc-e", "UPC-E"},
}};

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

std::span<const SymbologyName> AllSymbologies() { return kSymbologies; }

std::optional<int> FindSymbology(std::string_view text) {
  if (const std::optional<int> number = ParseInt(text)) {
    if (*number >= 0 && *number < static_cast<int>(kSymbologies.size())) return number;
    return std::nullopt;
  }
  const std::string wanted = Folded(text);
  for (const SymbologyName& symbology : kSymbologies) {
    if (Folded(symbology.name) == wanted) return symbology.number;
  }
  return std::nullopt;
}

}  // namespace varnel::tool
