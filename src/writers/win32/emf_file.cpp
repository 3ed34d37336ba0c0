// The enhanced metafile is the platform's own: recorded by GDI into a metafile in memory whose
// reference is the screen, then copied out, with the bytes the platform left unset in its font
// records cleared.
#include <cstdint>
#include <limits>

#include "writers/emf_file.h"
#include "writers/win32/emf_font_records.h"
#include "writers/win32/gdi_replay.h"
#include "platform/win32/metafile_bits.h"

namespace varnel {
namespace {

constexpr std::int64_t kHundredthsMmPerInch = 2540;

// The frame is the picture at the layout's resolution, which a host may have chosen apart from the
// screen's, in hundredths of a millimetre, inclusive; beyond 32 bits it is left to the platform.
bool PictureFrame(int width, int height, ScreenResolution screen, RECT& frame) {
  const auto hundredths = [](int pixels, int dpi) {
    return (std::int64_t{pixels} * kHundredthsMmPerInch * 2 + dpi) / (2 * std::int64_t{dpi});
  };
  const std::int64_t right = hundredths(width, screen.x) - 1;
  const std::int64_t bottom = hundredths(height, screen.y) - 1;
  if (right < 0 || bottom < 0 || right > std::numeric_limits<LONG>::max() ||
      bottom > std::numeric_limits<LONG>::max())
    return false;
  frame = RECT{0, 0, static_cast<LONG>(right), static_cast<LONG>(bottom)};
  return true;
}

}  // namespace

std::optional<FileBytes> EncodeEmf(const Surface& surface, ScreenResolution screen) {
  const int width = surface.Width(), height = surface.Height();
  RECT frame;
  const bool framed = PictureFrame(width, height, screen, frame);
  const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, framed ? &frame : nullptr, nullptr);
  if (dc == nullptr) return std::nullopt;
  const bool drawn = SetMapMode(dc, MM_TEXT) != 0 && SetWindowExtEx(dc, width, height, nullptr) != 0 &&
                     SetWindowOrgEx(dc, 0, 0, nullptr) != 0 && ReplayOnto(dc, surface);
  const HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  if (metafile == nullptr) return std::nullopt;
  auto bytes = drawn ? EnhMetaFileBytes(metafile) : std::nullopt;
  DeleteEnhMetaFile(metafile);
  if (bytes) ClearUnsetFontBytes(*bytes);
  return bytes;
}

}  // namespace varnel
