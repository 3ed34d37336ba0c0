#include "binding_helper.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

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

// By the kinds of VnbParseLength.
constexpr std::optional<Length> (*kLengthParsers[])(std::string_view) = {
    varnel::tool::ParsePrintLength, varnel::tool::ParseFontHeight, varnel::tool::ParseBarHeight};
static_assert(std::size(kLengthParsers) == VNB_BAR_HEIGHT + 1);

std::optional<Length> LengthOf(VnbLength length) {
  if (length.unit == VNB_NO_LENGTH) return std::nullopt;
  return Length{length.value, kUnits[length.unit]};
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

bool Within(int value, int lowest, int highest) { return value >= lowest && value <= highest; }
bool Positive(double value) { return std::isfinite(value) && value > 0.0; }
bool IsText(const char* text, int size) { return size == 0 || (size > 0 && text != nullptr); }
bool IsColour(const int (&rgb)[3]) {
  return std::all_of(std::begin(rgb), std::end(rgb), [](int c) { return Within(c, 0, 255); });
}
bool IsLength(VnbLength length, bool optional) {
  if (optional && length.unit == VNB_NO_LENGTH) return true;
  return Within(length.unit, 0, static_cast<int>(std::size(kUnits)) - 1) && Positive(length.value);
}

// Why the helper cannot take a description: the first field the tool's command line could not
// have given, whose ranges the tool's step takes for granted (it indexes its tables by them), or
// empty. Whoever calls an export may pass anything; the binding's checks are not the helper's.
std::string Refusal(const VnbBarcode* b) {
  if (b == nullptr) return "no barcode";
  const std::pair<const char*, bool> fields[] = {
      {"symbology", varnel::FindSymbology(b->symbology) != nullptr},
      {"data", IsText(b->data, b->dataSize)},
      {"addOn", IsText(b->addOn, b->addOnSize)},
      {"narrowWidthCm", Positive(b->narrowWidthCm)},
      {"xDimension", IsLength(b->xDimension, true)},
      {"barHeight", IsLength(b->barHeight, true)},
      {"fontHeight", IsLength(b->fontHeight, true)},
      {"wideRatio", Positive(b->wideRatio)},
      {"orientation", Within(b->orientation, 0, 3)},
      {"frame", Within(b->frame, 0, 2)},
      {"fontFace", b->fontFace != nullptr},
      {"codabarStart", Within(b->codabarStart, 0, 3)},
      {"codabarStop", Within(b->codabarStop, 0, 3)},
      {"upceSystem", Within(b->upceSystem, -1, 1)},
      {"addOnGapCm", b->addOnGapCm == 0.0 || Positive(b->addOnGapCm)},  // 0: 9 narrow widths
      {"barColor", IsColour(b->barColor)},
      {"backColor", IsColour(b->backColor)},
      {"dpiX", b->dpiX > 0},
      {"dpiY", b->dpiY > 0},
  };
  for (const auto& [name, good] : fields) {
    if (!good) return std::string("the barcode's ") + name + " is missing or out of its range";
  }
  return {};
}

// An export's body, which refuses with `onFailure` what it cannot have the memory for rather than
// let an exception out through C.
template <typename Body>
int Guarded(int onFailure, char* message, int messageSize, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    CopyMessage("not enough memory for the barcode", message, messageSize);
    return onFailure;
  }
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

std::string Lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined.append(joined.empty() ? "" : "\n").append(line);
  return joined;
}

}  // namespace

const char* VnbVersion(void) { return VARNEL_VERSION; }

const char* VnbSymbologyName(int number) {
  const varnel::SymbologyRow* row = varnel::FindSymbology(number);
  return row == nullptr ? nullptr : row->name.data();
}

int VnbFindSymbology(const char* text) {
  return text == nullptr ? -1 : varnel::tool::FindSymbology(text).value_or(-1);
}

int VnbParseLength(const char* text, int kind, VnbLength* length) {
  if (text == nullptr || length == nullptr || kind < 0 || kind >= static_cast<int>(std::size(kLengthParsers))) {
    return 0;
  }
  const std::optional<Length> parsed = kLengthParsers[kind](text);
  if (!parsed) return 0;
  const auto unit = std::find(std::begin(kUnits), std::end(kUnits), parsed->unit);
  *length = {parsed->value, static_cast<int>(unit - std::begin(kUnits))};
  return 1;
}

int VnbCheckData(const VnbBarcode* barcode, char* message, int messageSize) {
  return Guarded(0, message, messageSize, [&] {
    std::string refusal = Refusal(barcode);
    if (refusal.empty()) refusal = varnel::tool::PrepareData(OptionsOf(*barcode)).refusal;
    CopyMessage(refusal, message, messageSize);
    return refusal.empty() ? 1 : 0;
  });
}

int VnbSetUp(VnContext* context, const VnbBarcode* barcode, int* width, int* height, char* message,
             int messageSize) {
  return Guarded(-1, message, messageSize, [&] {
    const std::string refusal = context == nullptr ? "no library context" : Refusal(barcode);
    if (!refusal.empty()) {
      CopyMessage(refusal, message, messageSize);
      return -1;
    }
    const varnel::tool::BarcodeSetUp setUp = varnel::tool::SetUpBarcode(context, OptionsOf(*barcode));
    if (width != nullptr) *width = setUp.picture.first;
    if (height != nullptr) *height = setUp.picture.second;
    switch (setUp.outcome) {
      case varnel::tool::SetUpOutcome::kReady: CopyMessage(Lines(setUp.warnings), message, messageSize); return 1;
      case varnel::tool::SetUpOutcome::kLibraryRefused:
        CopyMessage(varnel::tool::Windows1252ToUtf8(VnCtxGetLastError(context)), message, messageSize);
        return 0;
      case varnel::tool::SetUpOutcome::kDataRefused: CopyMessage(setUp.refusal, message, messageSize); return -1;
    }
    return -1;
  });
}

int VnbRenderToMemory(VnContext* context, const VnbBarcode* barcode, int format, void* buffer, int bufferSize,
                      int* width, int* height, int* length, char* message, int messageSize) {
  const int drawn = VnbSetUp(context, barcode, width, height, message, messageSize);
  const int rendered = drawn == 1 ? VnCtxRenderToMemory(context, format, buffer, bufferSize) : 0;
  if (length != nullptr) *length = rendered;
  return drawn;
}
