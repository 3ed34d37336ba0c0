// Reads the BMP files Varnel32 writes back into memory, independently of the
// library's own writer, so that tests check the bytes on disk rather than the
// writer's intentions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace varnel::testing {

struct Bitmap {
  int width = 0;
  int height = 0;
  // Row-major, top row first; 0 is black and 255 is white.
  std::vector<uint8_t> gray;
  // Same layout as gray, one 0x00RRGGBB value per pixel.
  std::vector<uint32_t> rgb;
};

// Accepts only uncompressed files with a BITMAPINFOHEADER (or a later header
// that extends it) at 1 bit per pixel with a two-entry colour table, or at
// 24 bits per pixel. Any inconsistency between the headers and the data gives
// nullopt: a lenient reader would hide exactly the writer bugs we look for.
std::optional<Bitmap> ReadBmpBytes(std::span<const uint8_t> bytes);
std::optional<Bitmap> ReadBmp(const std::string& path);

// Pixels outside the image count as light, like the paper around a print.
bool IsDark(const Bitmap& bitmap, int x, int y);

// Decoders want a light margin around a symbol; a tight bitmap has none.
Bitmap WithQuietZone(const Bitmap& bitmap, int margin);

}  // namespace varnel::testing
