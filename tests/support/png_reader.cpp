#include "support/png_reader.h"

#include <png.h>

#include <cstring>

#include "support/render_harness.h"

namespace varnel::testing {
namespace {

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) << 24 | static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::uint8_t Luminance(std::uint32_t rgb) {
  const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
}

// The chunk layout: length, type, data, CRC, from IHDR to IEND. The CRCs are libpng's to check.
bool ReadChunks(const std::vector<std::uint8_t>& bytes, PngFile& png) {
  constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return false;
  std::size_t at = 8;
  bool first = true;
  while (at + 12 <= bytes.size()) {
    const std::uint32_t length = BigEndian32(bytes, at);
    if (length > bytes.size() - at - 12) return false;
    const std::string type(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
    const std::size_t data = at + 8;
    if (first != (type == "IHDR")) return false;
    first = false;
    if (type == "IHDR" && length == 13) {
      png.width = BigEndian32(bytes, data);
      png.height = BigEndian32(bytes, data + 4);
      png.bitDepth = bytes[data + 8];
      png.colourType = bytes[data + 9];
    } else if (type == "PLTE" && length % 3 == 0) {
      for (std::size_t i = 0; i < length; i += 3) {
        png.palette.push_back(static_cast<std::uint32_t>(bytes[data + i]) << 16 |
                              static_cast<std::uint32_t>(bytes[data + i + 1]) << 8 | bytes[data + i + 2]);
      }
    } else if (type == "tRNS") {
      png.paletteAlpha.assign(bytes.begin() + static_cast<std::ptrdiff_t>(data),
                              bytes.begin() + static_cast<std::ptrdiff_t>(data + length));
    } else if (type == "pHYs" && length == 9) {
      png.hasPhys = true;
      png.pixelsPerUnitX = BigEndian32(bytes, data);
      png.pixelsPerUnitY = BigEndian32(bytes, data + 4);
      png.physUnit = bytes[data + 8];
    } else if (type == "IEND") {
      return at + 12 == bytes.size();
    }
    at = data + length + 4;
  }
  return false;
}

// The alpha of every pixel, as libpng expands the file to grey and alpha.
bool DecodeAlpha(const std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& alpha) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_GA;
  std::vector<std::uint8_t> greyAlpha(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, greyAlpha.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  alpha.resize(greyAlpha.size() / 2);
  for (std::size_t i = 0; i < alpha.size(); ++i) alpha[i] = greyAlpha[2 * i + 1];
  return true;
}

// libpng's simplified interface reports failure in its result, with no long jump to catch.
bool DecodePixels(const std::vector<std::uint8_t>& bytes, Bitmap& bitmap) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  const png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  bitmap.width = static_cast<int>(image.width);
  bitmap.height = static_cast<int>(image.height);
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  bitmap.rgb.resize(count);
  bitmap.gray.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    bitmap.rgb[i] = static_cast<std::uint32_t>(rgb[3 * i]) << 16 | static_cast<std::uint32_t>(rgb[3 * i + 1]) << 8 |
                    rgb[3 * i + 2];
    bitmap.gray[i] = Luminance(bitmap.rgb[i]);
  }
  return true;
}

}  // namespace

std::optional<PngFile> ReadPng(const std::string& path) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  PngFile png;
  if (!ReadChunks(bytes, png) || !DecodePixels(bytes, png.pixels) || !DecodeAlpha(bytes, png.alpha)) return std::nullopt;
  return png;
}

std::optional<PngFile> ReadPngChunks(const std::string& path) {
  PngFile png;
  if (!ReadChunks(ReadFileBytes(path), png)) return std::nullopt;
  return png;
}

}  // namespace varnel::testing
