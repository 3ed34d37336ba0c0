#include "barcode_data.h"

#include "retail_numbers.h"
#include "symbologies/catalogue.h"
#include "symbology_conventions.h"
#include "symbology_names.h"
#include "text_encoding.h"

namespace varnel::tool {
namespace {

constexpr std::size_t kLongestData = 999;

PreparedData Refused(std::string why) { return {{}, {}, std::nullopt, std::move(why)}; }

// Where a character that the symbology's set does not hold can go: the symbologies that take any
// character of a set that holds it.
std::string Carriers(char32_t c) {
  std::string names;
  for (const SymbologyConventions& conventions : kConventions) {
    const SymbologyRow& row = kSymbologies[conventions.number];
    if (row.data != DataRule::kAnyBytes || !Holds(conventions.characterSet, c)) continue;
    names += names.empty() ? "" : " or ";
    names += row.name;
  }
  return names.empty() ? "no symbology here can carry it" : names + " can carry it";
}

// The text in the symbology's character set, or why it has none there.
EncodedText Encoded(int symbology, const std::string& text) {
  EncodedText encoded = Encode(text, ConventionsOf(symbology).characterSet);
  if (encoded.outside != 0) {
    encoded.problem += ", which " + std::string(ShortTitle(symbology)) + " is read in; " + Carriers(encoded.outside);
  }
  return encoded;
}

}  // namespace

PreparedData PrepareData(const BarcodeOptions& barcode) {
  // The library draws empty data as a symbol of nothing, which no scanner reads.
  if (barcode.data.empty()) return Refused("no input data: the data is empty");
  std::string data = barcode.data;
  std::string addOn = barcode.addOnDigits;
  if (!barcode.raw) {
    EncodedText text = Encoded(barcode.symbology, data);
    if (!text.problem.empty()) return Refused("cannot draw the data: " + text.problem);
    EncodedText addOnText = Encoded(barcode.symbology, addOn);
    if (!addOnText.problem.empty()) return Refused("cannot draw the add-on: " + addOnText.problem);
    data = std::move(text.bytes);
    addOn = std::move(addOnText.bytes);
  }
  if (data.find('\0') != std::string::npos) return Refused("the data holds a NUL character, which cannot be drawn");
  RetailData retail = ToLibraryData(barcode.symbology, data, barcode.upceSystem);
  if (!retail.refusal.empty()) return Refused(std::move(retail.refusal));
  if (retail.data.size() > kLongestData) {
    return Refused("the data is " + std::to_string(retail.data.size()) + " bytes long; the library takes at most " +
                   std::to_string(kLongestData));
  }
  return {std::move(retail.data), std::move(addOn), retail.upceSystem, {}};
}

}  // namespace varnel::tool
