#include "writers/metafile_replay.h"

#include <algorithm>
#include <cstring>

namespace varnel {
namespace {

constexpr std::int32_t kFullTurn = 3600;  // tenths of a degree
constexpr std::int32_t kNormalWeight = 400;
constexpr std::uint8_t kSwissVariablePitch = 0x22;  // FF_SWISS | VARIABLE_PITCH
// The platform's standard sans face, which every reader knows or maps to a sans face of its own; a
// nameless font would leave the choice to the reader, and some choose a serif face.
constexpr char kDefaultFaceName[] = "Arial";

std::int32_t WithinOneTurn(std::int32_t angle) {
  const std::int32_t turned = angle % kFullTurn;
  return turned < 0 ? turned + kFullTurn : turned;
}

}  // namespace

FontDescription MetafileFont(const std::optional<FontDescription>& font) {
  FontDescription recorded{};
  if (font) {
    recorded = *font;
    const std::size_t length = strnlen(font->lfFaceName, sizeof recorded.lfFaceName - 1);
    std::fill(std::begin(recorded.lfFaceName) + length, std::end(recorded.lfFaceName), '\0');
  } else {
    recorded.lfHeight = kDefaultCellHeight;
    recorded.lfWeight = kNormalWeight;
    recorded.lfPitchAndFamily = kSwissVariablePitch;
    std::memcpy(recorded.lfFaceName, kDefaultFaceName, sizeof kDefaultFaceName);
  }
  recorded.lfEscapement = WithinOneTurn(recorded.lfEscapement);
  recorded.lfOrientation = WithinOneTurn(recorded.lfOrientation);
  return recorded;
}

}  // namespace varnel
