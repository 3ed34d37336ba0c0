#include "binding_helper.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "barcode_data.h"
#include "barcode_setup.h"
#include "lengths.h"
#include "symbologies/catalogue.h"
#include "symbology_names.h"
#include "text_encoding.h"

namespace {

using varnel::tool::BarcodeOptions;
using varnel::tool::Length;
using varnel::tool::LengthUnit;

constexpr LengthUnit kUnits[] = {LengthUnit::kPixels, LengthUnit::kPoints, LengthUnit::kMillimetres,
                                 LengthUnit::kCentimetres, LengthUnit::kInches};
static_assert(kUnits[VNB_PIXELS] == LengthUnit::kPixels);

std::optional<Length> LengthOf(VnbLength length) {
  if (length.unit == VNB_NO_LENGTH) return std::nullopt;
  return Length{length.value, kUnits[length.unit]};
}

BarcodeOptions OptionsOf(const VnbBarcode& b) {
  BarcodeOptions options;
  options.symbology = b.symbology;
  options.data.assign(b.data, static_cast<std::size_t>(b.dataSize));
  options.raw = b.raw != 0;
  options.addOnDigits.assign(b.addOn, static_cast<std::size_t>(b.addOnSize));
  if (b.width > 0 && b.height > 0) options.size = varnel::tool::Pair{b.width, b.height};
  if (b.quietZone >= 0) options.quietZoneModules = b.quietZone;
  options.narrowWidthCm = b.narrowWidthCm;
  options.xDimension = LengthOf(b.xDimension);
  options.barHeight = LengthOf(b.barHeight);
  options.fontHeight = LengthOf(b.fontHeight);
  options.wideRatio = b.wideRatio;
  options.orientation = b.orientation;
  options.frame = b.frame;
  options.fontFace = b.fontFace;
  options.showText = b.showText != 0;
  if (b.checkCharacter >= 0) options.addCheckCharacter = b.checkCharacter != 0;
  options.checkCharacterInText = b.checkCharacterInText != 0;
  options.codabarStart = b.codabarStart;
  options.codabarStop = b.codabarStop;
  if (b.upceSystem >= 0) options.upceSystem = b.upceSystem;
  if (b.addOnGapCm > 0.0) options.addOnGapCm = b.addOnGapCm;
  options.barColor = {b.barColor[0], b.barColor[1], b.barColor[2]};
  options.backColor = {b.backColor[0], b.backColor[1], b.backColor[2]};
  options.transparentBackground = b.transparentBackground != 0;
  options.resolution = {b.dpiX, b.dpiY};
  return options;
}

// The text, cut to the buffer where it must be, but never inside a character.
void CopyMessage(std::string_view text, char* message, int messageSize) {
  if (message == nullptr || messageSize <= 0) return;
  std::size_t size = std::min(text.size(), static_cast<std::size_t>(messageSize - 1));
  if (size < text.size()) {
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
  }
  std::memcpy(message, text.data(), size);
  message[size] = '\0';
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined.append(joined.empty() ? "" : "\n").append(line);
  return joined;
}

}  // namespace

const char* VnbSymbologyName(int number) {
  const varnel::SymbologyRow* row = varnel::FindSymbology(number);
  return row == nullptr ? nullptr : row->name.data();
}

int VnbFindSymbology(const char* text) {
  return text == nullptr ? -1 : varnel::tool::FindSymbology(text).value_or(-1);
}

int VnbParseLength(const char* text, int fontHeight, VnbLength* length) {
  if (text == nullptr || length == nullptr) return 0;
  const std::optional<Length> parsed =
      fontHeight ? varnel::tool::ParseFontHeight(text) : varnel::tool::ParsePrintLength(text);
  if (!parsed) return 0;
  const auto unit = std::find(std::begin(kUnits), std::end(kUnits), parsed->unit);
  *length = {parsed->value, static_cast<int>(unit - std::begin(kUnits))};
  return 1;
}

int VnbCheckData(const VnbBarcode* barcode, char* message, int messageSize) {
  const varnel::tool::PreparedData prepared = varnel::tool::PrepareData(OptionsOf(*barcode));
  CopyMessage(prepared.refusal, message, messageSize);
  return prepared.refusal.empty() ? 1 : 0;
}

int VnbSetUp(VnContext* context, const VnbBarcode* barcode, int* width, int* height, char* message,
             int messageSize) {
  const varnel::tool::BarcodeSetUp setUp = varnel::tool::SetUpBarcode(context, OptionsOf(*barcode));
  *width = setUp.picture.first;
  *height = setUp.picture.second;
  switch (setUp.outcome) {
    case varnel::tool::SetUpOutcome::kReady: CopyMessage(Lines(setUp.warnings), message, messageSize); return 1;
    case varnel::tool::SetUpOutcome::kLibraryRefused:
      CopyMessage(varnel::tool::Windows1252ToUtf8(VnCtxGetLastError(context)), message, messageSize);
      return 0;
    case varnel::tool::SetUpOutcome::kDataRefused: CopyMessage(setUp.refusal, message, messageSize); return -1;
  }
  return -1;
}

int VnbRenderToMemory(VnContext* context, const VnbBarcode* barcode, int format, void* buffer, int bufferSize,
                      int* width, int* height, int* length, char* message, int messageSize) {
  const int drawn = VnbSetUp(context, barcode, width, height, message, messageSize);
  *length = drawn == 1 ? VnCtxRenderToMemory(context, format, buffer, bufferSize) : 0;
  return drawn;
}
