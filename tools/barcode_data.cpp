#include "barcode_data.h"

#include "retail_numbers.h"
#include "text_encoding.h"

namespace varnel::tool {
namespace {

constexpr std::size_t kLongestData = 999;

PreparedData Refused(std::string why) { return {{}, {}, std::nullopt, std::move(why)}; }

}  // namespace

PreparedData PrepareData(const BarcodeOptions& barcode) {
  std::string data = barcode.data;
  std::string addOn = barcode.addOnDigits;
  if (!barcode.raw) {
    Windows1252Text text = ToWindows1252(data);
    if (!text.problem.empty()) return Refused("cannot draw the data: " + text.problem);
    Windows1252Text addOnText = ToWindows1252(addOn);
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
