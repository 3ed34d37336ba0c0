#include "support/bmp_reader.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <fstream>
#include <iterator>

namespace varnel::testing {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr uint32_t kCompressionNone = 0;  // BI_RGB

// Header sizes Windows has defined that begin with the BITMAPINFOHEADER
// fields; the extra fields of the longer ones do not matter for BI_RGB.
constexpr std::array<uint32_t, 5> kInfoHeaderSizes = {40, 52, 56, 108, 124};

// Every read goes through this cursor so no offset taken from the file can
// reach past the end of the buffer.
class LittleEndianReader {
 public:
  explicit LittleEndianReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  uint8_t U8(std::size_t offset) const { return bytes_[offset]; }

  uint16_t U16(std::size_t offset) const {
    return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  }

  uint32_t U32(std::size_t offset) const {
    return static_cast<uint32_t>(bytes_[offset]) |
           (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes_[offset + 2]) << 16) |
           (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
  }

  int32_t I32(std::size_t offset) const { return static_cast<int32_t>(U32(offset)); }

 private:
  std::span<const uint8_t> bytes_;
};

struct Header {
  uint32_t file_size;
  uint32_t pixel_offset;
  uint32_t info_size;
  int32_t width;
  int32_t height;  // negative for rows stored top to bottom
  uint16_t planes;
  uint16_t bits_per_pixel;
  uint32_t compression;
  uint32_t image_size;
  uint32_t colours_used;
};

std::optional<Header> ReadHeader(const LittleEndianReader& in) {
  if (!in.Has(0, kFileHeaderSize + 40)) return std::nullopt;
  if (in.U8(0) != 'B' || in.U8(1) != 'M') return std::nullopt;
  Header h{};
  h.file_size = in.U32(2);
  h.pixel_offset = in.U32(10);
  h.info_size = in.U32(14);
  h.width = in.I32(18);
  h.height = in.I32(22);
  h.planes = in.U16(26);
  h.bits_per_pixel = in.U16(28);
  h.compression = in.U32(30);
  h.image_size = in.U32(34);
  h.colours_used = in.U32(46);
  return h;
}

// ITU-R BT.601 weights, rounded, so black and white map to exactly 0 and 255.
uint8_t Luminance(uint32_t rgb) {
  const uint32_t r = (rgb >> 16) & 0xFF;
  const uint32_t g = (rgb >> 8) & 0xFF;
  const uint32_t b = rgb & 0xFF;
  return static_cast<uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
}

uint32_t Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return (uint32_t{red} << 16) | (uint32_t{green} << 8) | uint32_t{blue};
}

}  // namespace

std::optional<Bitmap> ReadBmpBytes(std::span<const uint8_t> bytes) {
  const LittleEndianReader in(bytes);
  const std::optional<Header> header = ReadHeader(in);
  if (!header) return std::nullopt;
  const Header& h = *header;

  if (h.file_size != bytes.size()) return std::nullopt;
  if (std::find(kInfoHeaderSizes.begin(), kInfoHeaderSizes.end(), h.info_size) ==
      kInfoHeaderSizes.end()) {
    return std::nullopt;
  }
  if (h.planes != 1 || h.compression != kCompressionNone) return std::nullopt;
  if (h.bits_per_pixel != 1 && h.bits_per_pixel != 24) return std::nullopt;
  if (h.width <= 0 || h.height == 0) return std::nullopt;

  // 64-bit arithmetic throughout, so that no product of header fields taken
  // from a damaged file can overflow before it is compared with the file size.
  const int64_t width = h.width;
  const int64_t height = h.height < 0 ? -int64_t{h.height} : int64_t{h.height};
  if (height > INT32_MAX) return std::nullopt;
  const bool top_down = h.height < 0;

  // Zero colours means "as many as the depth allows" for palette depths.
  int64_t colours = h.colours_used;
  if (h.bits_per_pixel == 1) {
    if (colours == 0) colours = 2;
    if (colours != 2) return std::nullopt;
  }
  const int64_t palette_offset = int64_t{kFileHeaderSize} + h.info_size;
  const int64_t palette_end = palette_offset + 4 * colours;
  if (palette_end > h.pixel_offset) return std::nullopt;

  const int64_t stride = (width * h.bits_per_pixel + 31) / 32 * 4;
  const int64_t pixel_bytes = stride * height;
  if (h.image_size != 0 && h.image_size != pixel_bytes) return std::nullopt;
  if (int64_t{h.pixel_offset} + pixel_bytes > static_cast<int64_t>(bytes.size())) {
    return std::nullopt;
  }

  std::array<uint32_t, 2> palette{};
  if (h.bits_per_pixel == 1) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
      const std::size_t entry = static_cast<std::size_t>(palette_offset) + 4 * i;
      // Entries are stored blue, green, red, reserved.
      palette[i] = Rgb(in.U8(entry + 2), in.U8(entry + 1), in.U8(entry));
    }
  }

  Bitmap bitmap;
  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  const std::size_t count = static_cast<std::size_t>(width * height);
  bitmap.gray.resize(count);
  bitmap.rgb.resize(count);

  for (int64_t stored_row = 0; stored_row < height; ++stored_row) {
    const int64_t y = top_down ? stored_row : height - 1 - stored_row;
    const std::size_t row = static_cast<std::size_t>(h.pixel_offset + stored_row * stride);
    for (int64_t x = 0; x < width; ++x) {
      uint32_t colour;
      if (h.bits_per_pixel == 1) {
        const uint8_t packed = in.U8(row + static_cast<std::size_t>(x / 8));
        const int bit = (packed >> (7 - x % 8)) & 1;  // leftmost pixel in the high bit
        colour = palette[static_cast<std::size_t>(bit)];
      } else {
        const std::size_t at = row + static_cast<std::size_t>(3 * x);
        colour = Rgb(in.U8(at + 2), in.U8(at + 1), in.U8(at));
      }
      const std::size_t index = static_cast<std::size_t>(y * width + x);
      bitmap.rgb[index] = colour;
      bitmap.gray[index] = Luminance(colour);
    }
  }
  return bitmap;
}

std::optional<Bitmap> ReadBmp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return ReadBmpBytes(bytes);
}

bool IsDark(const Bitmap& bitmap, int x, int y) {
  if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return false;
  const std::size_t index =
      static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) + static_cast<std::size_t>(x);
  return bitmap.gray[index] < 128;
}

Bitmap WithQuietZone(const Bitmap& bitmap, int margin) {
  margin = std::max(margin, 0);
  Bitmap padded;
  padded.width = bitmap.width + 2 * margin;
  padded.height = bitmap.height + 2 * margin;
  const std::size_t count =
      static_cast<std::size_t>(padded.width) * static_cast<std::size_t>(padded.height);
  padded.gray.assign(count, 0xFF);
  padded.rgb.assign(count, 0xFFFFFF);
  for (int y = 0; y < bitmap.height; ++y) {
    const std::size_t from = static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width);
    const std::size_t to = static_cast<std::size_t>(y + margin) * static_cast<std::size_t>(padded.width) +
                           static_cast<std::size_t>(margin);
    std::copy_n(bitmap.gray.begin() + static_cast<std::ptrdiff_t>(from), bitmap.width,
                padded.gray.begin() + static_cast<std::ptrdiff_t>(to));
    std::copy_n(bitmap.rgb.begin() + static_cast<std::ptrdiff_t>(from), bitmap.width,
                padded.rgb.begin() + static_cast<std::ptrdiff_t>(to));
  }
  return padded;
}

}  // namespace varnel::testing
