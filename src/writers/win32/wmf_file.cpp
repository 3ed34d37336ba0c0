// The Windows metafile is the platform's own: recorded by GDI into a metafile in memory, copied out
// and put behind the placeable header.
//
// GDI keeps a Windows metafile's coordinates and font fields in 16 bits and cuts whatever does not
// fit, silently. A picture that would be cut has no faithful metafile, so it is refused before
// anything is recorded, as the 16-bit limits of the header refuse a picture too large.
#include <cstdint>
#include <limits>
#include <new>

#include "writers/metafile_records.h"
#include "writers/metafile_replay.h"
#include "writers/placeable_header.h"
#include "writers/wmf_file.h"
#include "writers/win32/gdi_replay.h"
#include "platform/win32/metafile_bits.h"

namespace varnel {
namespace {

bool Fits16(std::int64_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max();
}

bool PointFits(const Point& p) { return Fits16(p.x) && Fits16(p.y); }

// What the replay hands GDI, checked against the format's fields. Fills and clip rectangles are cut
// to the picture, which fits; text positions, fonts and lines are taken as they are.
struct SixteenBitCheck {
  bool fits = true;

  void OnFill(const FillOp&) {}
  void OnText(const TextOp& text) {
    const FontDescription font = MetafileFont(text.font);
    fits = fits && PointFits(text.reference) && Fits16(static_cast<std::int64_t>(text.text.size())) &&
           Fits16(font.lfHeight) && Fits16(font.lfWidth) && Fits16(font.lfEscapement) &&
           Fits16(font.lfOrientation) && Fits16(font.lfWeight);
  }
  void OnLine(const LineOp& line) { fits = fits && PointFits(line.from) && PointFits(line.to); }
};

}  // namespace

std::optional<FileBytes> EncodePlaceableWmf(const Surface& surface, int unitsPerInch) {
  const int width = surface.Width(), height = surface.Height();
  if (!FitsPlaceableHeader(width, height, unitsPerInch)) return std::nullopt;
  SixteenBitCheck check;
  surface.Replay(check);
  if (!check.fits) return std::nullopt;

  const HDC dc = CreateMetaFileA(nullptr);
  if (dc == nullptr) return std::nullopt;
  const bool drawn = SetWindowExtEx(dc, width, height, nullptr) != 0 && SetWindowOrgEx(dc, 0, 0, nullptr) != 0 &&
                     ReplayOnto(dc, surface);
  const HMETAFILE metafile = CloseMetaFile(dc);
  if (metafile == nullptr) return std::nullopt;
  const auto bits = drawn ? MetaFileBytes(metafile) : std::nullopt;
  DeleteMetaFile(metafile);
  if (!bits) return std::nullopt;

  try {
    RecordBuffer header;
    WritePlaceableHeader(header, width, height, unitsPerInch);
    FileBytes file = std::move(header.Bytes());
    file.insert(file.end(), bits->begin(), bits->end());
    return file;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
