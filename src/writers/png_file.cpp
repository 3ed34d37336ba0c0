#include "writers/png_file.h"

#include <algorithm>
#include <array>
#include <new>
#include <string_view>

#include <zlib.h>

#include "writers/bmp_file.h"
#include "writers/row_deflate.h"

namespace varnel {
namespace {

constexpr std::uint32_t kLargestPngValue = 0x7FFFFFFF;
constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kOneBit = 1, kPaletteImage = 3;
constexpr std::uint8_t kNoFilter = 0;
constexpr std::uint8_t kUnitMetre = 1;

void AppendBigEndian(FileBytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A chunk whose data the caller appends between making it and `Close`: its length, type, data and
// the CRC of type and data.
class Chunk {
 public:
  Chunk(FileBytes& out, std::string_view type) : out_(out), start_(out.size()) {
    AppendBigEndian(out_, 0);  // the length, once it is known
    out_.insert(out_.end(), type.begin(), type.end());
  }
  void Close() {
    const std::size_t dataStart = start_ + 8, length = out_.size() - dataStart;
    for (int i = 0; i < 4; ++i) out_[start_ + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    const std::uint8_t* typeAndData = out_.data() + start_ + 4;
    AppendBigEndian(out_, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), typeAndData, static_cast<uInt>(length + 4))));
  }

 private:
  FileBytes& out_;
  std::size_t start_;
};

void AppendColour(FileBytes& out, COLORREF color) {
  out.push_back(RedOf(color));
  out.push_back(GreenOf(color));
  out.push_back(BlueOf(color));
}

// The scanlines: every row of the picture, top first, after the filter byte of no filtering, painted
// in place; the bits past the last pixel are left 0, the background's. Barcode rows are nearly all
// copies of the row above or long runs, which the compressor finds as they stand; a filter would
// only turn them into other runs.
FileBytes PaintScanlines(const Surface& surface, const Palette& palette, std::size_t stride) {
  FileBytes scanlines(stride * static_cast<std::size_t>(surface.Height()));
  for (std::size_t at = 0; at < scanlines.size(); at += stride) scanlines[at] = kNoFilter;
  OneBitRaster raster = OneBitRaster::PngScanlines(scanlines.data() + 1, surface.Width(), surface.Height(), stride);
  PaintPicture(surface, palette, raster);
  return scanlines;
}

// The image data, in chunks no longer than a chunk's length can say.
void AppendImageData(FileBytes& out, const FileBytes& scanlines, std::size_t stride) {
  FileBytes stream;
  AppendZlibRows(stream, scanlines, stride);
  for (std::size_t at = 0; at < stream.size();) {
    const std::size_t length = std::min<std::size_t>(stream.size() - at, kLargestPngValue);
    Chunk data(out, "IDAT");
    out.insert(out.end(), stream.begin() + static_cast<std::ptrdiff_t>(at),
               stream.begin() + static_cast<std::ptrdiff_t>(at + length));
    data.Close();
    at += length;
  }
}

}  // namespace

std::uint32_t PixelsPerMetre(int pixelsPerInch) {
  // An inch is 0.0254 m: pixels per inch * 10000 / 254, rounded half up.
  const std::int64_t perMetre = (std::int64_t{std::max(pixelsPerInch, 0)} * 20000 + 254) / 508;
  return static_cast<std::uint32_t>(std::min<std::int64_t>(perMetre, kLargestPngValue));
}

bool OneBitPngCanHold(int width, int height) { return width > 0 && height > 0 && OneBitBmpCanHold(width, height); }

std::optional<FileBytes> EncodeOneBitPng(const Surface& surface, const Palette& palette, ScreenResolution resolution,
                                         bool transparentBackground) {
  const int width = surface.Width(), height = surface.Height();
  if (!OneBitPngCanHold(width, height)) return std::nullopt;

  try {
    const std::size_t stride = OneBitRaster::PngRowBytes(width) + 1;  // a row after its filter byte
    const FileBytes scanlines = PaintScanlines(surface, palette, stride);

    FileBytes out(kSignature.begin(), kSignature.end());
    Chunk header(out, "IHDR");
    AppendBigEndian(out, static_cast<std::uint32_t>(width));
    AppendBigEndian(out, static_cast<std::uint32_t>(height));
    // One bit a pixel from a palette; deflate, adaptive filtering's method, no interlacing.
    out.insert(out.end(), {kOneBit, kPaletteImage, 0, 0, 0});
    header.Close();
    // The background first: a blank row is then all zeros, its filter byte included, and a band of
    // background runs on from row to row as one run of a byte, the cheapest match there is. An
    // entry that the transparency chunk leaves out is opaque, so it need only clear the first.
    Chunk colours(out, "PLTE");
    AppendColour(out, palette.color1);
    AppendColour(out, palette.color0);
    colours.Close();
    if (transparentBackground) {
      Chunk alpha(out, "tRNS");
      out.push_back(0);
      alpha.Close();
    }
    Chunk physical(out, "pHYs");
    AppendBigEndian(out, PixelsPerMetre(resolution.x));
    AppendBigEndian(out, PixelsPerMetre(resolution.y));
    out.push_back(kUnitMetre);
    physical.Close();
    AppendImageData(out, scanlines, stride);
    Chunk end(out, "IEND");
    end.Close();
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
