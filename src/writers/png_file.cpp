#include "writers/png_file.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <new>

#include "writers/bmp_file.h"

namespace varnel {
namespace {

constexpr std::uint32_t kLargestPngValue = 0x7FFFFFFF;

struct Sink {
  FileBytes bytes;
  bool failed = false;
};

// libpng's callbacks are called from C: nothing may be thrown through them.
void AppendToSink(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  if (sink->failed) return;
  try {
    sink->bytes.insert(sink->bytes.end(), data, data + length);
  } catch (const std::bad_alloc&) {
    sink->failed = true;
  }
}

void FlushNothing(png_structp) {}

[[noreturn]] void AbandonWrite(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void IgnoreWarning(png_structp, png_const_charp) {}

png_color PngColour(COLORREF color) { return png_color{RedOf(color), GreenOf(color), BlueOf(color)}; }

struct RasterRows {
  const std::uint8_t* bottomRow;  // the BMP's layout: the bottom row first
  std::size_t stride;
  std::uint32_t width;
  std::uint32_t height;
};

// libpng reports an error by a long jump back into this frame, so nothing in it may have a
// destructor to skip.
bool WritePng(png_structp png, png_infop info, const RasterRows& raster, const Palette& palette,
              ScreenResolution resolution, bool transparentBackground) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  // Its reading limits apply to writing too: a million pixels across, which a barcode can exceed.
  png_set_user_limits(png, kLargestPngValue, kLargestPngValue);
  png_set_IHDR(png, info, raster.width, raster.height, 1, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  const png_color colours[2] = {PngColour(palette.color0), PngColour(palette.color1)};
  png_set_PLTE(png, info, colours, 2);
  if (transparentBackground) {
    const png_byte alphas[2] = {255, 0};  // the bars opaque, the background clear
    png_set_tRNS(png, info, alphas, 2, nullptr);
  }
  png_set_pHYs(png, info, PixelsPerMetre(resolution.x), PixelsPerMetre(resolution.y), PNG_RESOLUTION_METER);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < raster.height; ++y) {
    png_write_row(png, raster.bottomRow + static_cast<std::size_t>(raster.height - 1 - y) * raster.stride);
  }
  png_write_end(png, info);
  return true;
}

class PngWriter {
 public:
  PngWriter() : png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, AbandonWrite, IgnoreWarning)) {
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  std::optional<FileBytes> Write(const RasterRows& raster, const Palette& palette, ScreenResolution resolution,
                                 bool transparentBackground) {
    if (png_ == nullptr || info_ == nullptr) return std::nullopt;
    Sink sink;
    png_set_write_fn(png_, &sink, AppendToSink, FlushNothing);
    if (!WritePng(png_, info_, raster, palette, resolution, transparentBackground) || sink.failed) return std::nullopt;
    return std::move(sink.bytes);
  }

 private:
  png_structp png_;
  png_infop info_ = nullptr;
};

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
    FileBytes rows(OneBitRaster::RowBytes(width) * static_cast<std::size_t>(height));
    OneBitRaster raster(rows.data(), width, height);
    PaintPicture(surface, palette, raster);
    return PngWriter().Write(RasterRows{rows.data(), OneBitRaster::RowBytes(width), static_cast<std::uint32_t>(width),
                                        static_cast<std::uint32_t>(height)},
                             palette, resolution, transparentBackground);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
