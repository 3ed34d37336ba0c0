#include "same_picture_png.h"

#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "drawing/surface.h"
#include "writers/png_file.h"

namespace varnel::bench {
namespace {

// zint's default colours, which the library's file is given too.
constexpr COLORREF kBars = 0x000000, kBackground = 0xFFFFFF;
constexpr int kScreenDpi = 96;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "varnel_side_by_side: %s\n", what.c_str());
  std::exit(1);
}

using Bytes = std::vector<unsigned char>;

// Whether the pixel at `x` of an RGB row is nearer black than white.
bool Dark(const unsigned char* row, int x) { return row[3 * x] + row[3 * x + 1] + row[3 * x + 2] < 3 * 128; }

// zint's picture as the library's drawing operations: the background, then, for each band of
// identical rows, one rectangle per run of dark pixels in it.
Surface SurfaceOf(const zint_symbol& symbol) {
  const int width = symbol.bitmap_width, height = symbol.bitmap_height;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  const auto row = [&](int y) { return symbol.bitmap + static_cast<std::size_t>(y) * rowBytes; };
  Surface surface(width, height);
  surface.FillRect(Rect{0, 0, width, height}, Brush{kBackground});
  for (int top = 0, bottom; top < height; top = bottom) {
    for (bottom = top + 1; bottom < height && std::memcmp(row(bottom), row(top), rowBytes) == 0;) ++bottom;
    for (int x = 0; x < width;) {
      if (!Dark(row(top), x)) {
        ++x;
        continue;
      }
      int end = x + 1;
      while (end < width && Dark(row(top), end)) ++end;
      surface.FillRect(Rect{x, top, end, bottom}, Brush{kBars});
      x = end;
    }
  }
  return surface;
}

// The pixels libpng decodes, as RGB.
Bytes DecodedPixels(const Bytes& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) Fail("libpng refuses a PNG");
  image.format = PNG_FORMAT_RGB;
  Bytes pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) Fail("libpng cannot decode a PNG");
  return pixels;
}

// The length of the data of the IDAT chunks, read from the chunks' own lengths.
long ImageDataBytes(const Bytes& file) {
  long total = 0;
  for (std::size_t at = 8; at + 8 <= file.size();) {
    const std::size_t length = (std::size_t{file[at]} << 24) | (std::size_t{file[at + 1]} << 16) |
                               (std::size_t{file[at + 2]} << 8) | file[at + 3];
    if (std::memcmp(&file[at + 4], "IDAT", 4) == 0) total += static_cast<long>(length);
    at += 12 + length;
  }
  return total;
}

}  // namespace

SamePictureBytes SamePicturePng(ZintLabel& label, const std::string& folder) {
  zint_symbol* symbol = label.symbol.get();
  const auto data = reinterpret_cast<const unsigned char*>(label.data);
  ZBarcode_Clear(symbol);
  if (ZBarcode_Encode_and_Buffer(symbol, data, 0, 0) >= ZINT_ERROR) Fail("zint cannot draw its picture");
  const auto ours = EncodeOneBitPng(SurfaceOf(*symbol), Palette{kBars, kBackground}, {kScreenDpi, kScreenDpi}, false);
  if (!ours) Fail("the library cannot encode zint's picture");
  const Bytes ourFile(ours->begin(), ours->end());

  const std::string path = folder + "/zint-same.png";
  ZBarcode_Clear(symbol);
  std::strncpy(symbol->outfile, path.c_str(), sizeof symbol->outfile - 1);
  if (ZBarcode_Encode_and_Print(symbol, data, 0, 0) >= ZINT_ERROR) Fail("zint cannot write its PNG");
  std::ifstream in(path, std::ios::binary);
  const Bytes zintFile{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  unlink(path.c_str());
  ZBarcode_Clear(symbol);

  if (DecodedPixels(ourFile) != DecodedPixels(zintFile)) Fail("the two PNGs of zint's picture differ in pixels");
  return {static_cast<long>(ourFile.size()), static_cast<long>(zintFile.size()), ImageDataBytes(ourFile),
          ImageDataBytes(zintFile)};
}

}  // namespace varnel::bench
