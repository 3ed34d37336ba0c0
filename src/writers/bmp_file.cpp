#include "writers/bmp_file.h"

#include <algorithm>
#include <limits>
#include <new>

namespace varnel {
namespace {

void PutU16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
  PutU16(at, value & 0xFFFF);
  PutU16(at + 2, value >> 16);
}

// RGBQUAD: blue, green, red, reserved.
void PutColour(std::uint8_t* at, COLORREF color) {
  at[0] = BlueOf(color);
  at[1] = GreenOf(color);
  at[2] = RedOf(color);
  at[3] = 0;
}

}  // namespace

std::optional<FileBytes> EncodeOneBitBmp(const Surface& surface, const Palette& palette) {
  const int width = surface.Width(), height = surface.Height();
  if (!OneBitBmpCanHold(width, height)) return std::nullopt;
  const std::uint64_t imageSize = OneBitBmpImageSize(width, height);

  FileBytes file;
  try {
    file.resize(kBmpPixelOffset + imageSize);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  std::uint8_t* p = file.data();
  std::fill(p, p + kBmpPixelOffset, std::uint8_t{0});  // the fields left at zero
  PutU16(p, 0x4D42);  // "BM"
  PutU32(p + 2, static_cast<std::uint32_t>(file.size()));
  PutU32(p + 10, kBmpPixelOffset);

  std::uint8_t* info = p + kBmpFileHeaderSize;
  PutU32(info, kBmpInfoHeaderSize);
  PutU32(info + 4, static_cast<std::uint32_t>(width));
  PutU32(info + 8, static_cast<std::uint32_t>(height));
  PutU16(info + 12, 1);  // planes
  PutU16(info + 14, 1);  // bits per pixel
  PutU32(info + 20, static_cast<std::uint32_t>(imageSize));
  PutColour(info + kBmpInfoHeaderSize, palette.color0);
  PutColour(info + kBmpInfoHeaderSize + 4, palette.color1);

  OneBitRaster raster(p + kBmpPixelOffset, width, height);
  PaintPicture(surface, palette, raster);
  return file;
}

}  // namespace varnel
