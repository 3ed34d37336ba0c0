// The BMP is drawn by the platform: the surface is replayed onto a memory surface holding a bitmap
// compatible with the screen, and the platform copies that bitmap out as a one-bit device-
// independent bitmap. The reduction to one bit and the two colours of the table are the
// platform's: the palette asked for is what the raster of other platforms uses, and is not needed
// here.
#include <cstring>
#include <new>

#include "writers/bmp_file.h"
#include "writers/win32/gdi_replay.h"

namespace varnel {
namespace {

// The one-bit device-independent bitmap's header and its two-entry colour table, as GetDIBits
// fills them.
struct OneBitInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[2];
};
static_assert(sizeof(BITMAPFILEHEADER) == kBmpFileHeaderSize && sizeof(BITMAPINFOHEADER) == kBmpInfoHeaderSize);
static_assert(sizeof(OneBitInfo) == kBmpInfoHeaderSize + 8);

// The screen's context, a memory surface compatible with it and a bitmap of the screen's colour
// depth selected into that surface; released in the reverse order.
class MemorySurface {
 public:
  MemorySurface(int width, int height) {
    screen_ = GetDC(nullptr);
    if (screen_ == nullptr) return;
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    if (dc_ != nullptr && bitmap_ != nullptr) original_ = SelectObject(dc_, bitmap_);
  }
  ~MemorySurface() {
    Deselect();
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
    if (screen_ != nullptr) ReleaseDC(nullptr, screen_);
  }
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  bool Ready() const { return original_ != nullptr; }
  HDC Dc() const { return dc_; }

  // The platform reads a bitmap only while no surface holds it.
  bool CopyOneBitRows(int height, std::uint8_t* rows, OneBitInfo& info) {
    Deselect();
    return GetDIBits(screen_, bitmap_, 0, static_cast<UINT>(height), rows, reinterpret_cast<BITMAPINFO*>(&info),
                     DIB_RGB_COLORS) == height;
  }

 private:
  void Deselect() {
    if (original_ == nullptr) return;
    SelectObject(dc_, original_);
    original_ = nullptr;
  }

  HDC screen_ = nullptr;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

OneBitInfo OneBitHeader(int width, int height, std::uint32_t imageSize) {
  OneBitInfo info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = height;  // positive: the bottom row first
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.header.biSizeImage = imageSize;
  return info;
}

}  // namespace

std::optional<FileBytes> EncodeOneBitBmp(const Surface& surface, const Palette&) {
  const int width = surface.Width(), height = surface.Height();
  if (!OneBitBmpCanHold(width, height)) return std::nullopt;
  const std::uint64_t imageSize = OneBitBmpImageSize(width, height);

  FileBytes file;
  if (imageSize > file.max_size() - kBmpPixelOffset) return std::nullopt;
  try {
    // Cleared: how the platform's row copy treats the padding at the end of each row is its own.
    file.assign(kBmpPixelOffset + static_cast<std::size_t>(imageSize), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  OneBitInfo info = OneBitHeader(width, height, static_cast<std::uint32_t>(imageSize));
  // An empty picture has no rows to draw or copy, and the platform has no bitmap for it; its table
  // is the platform's usual pair, black and white.
  info.colors[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
  if (width > 0 && height > 0) {
    MemorySurface memory(width, height);
    if (!memory.Ready()) return std::nullopt;
    // A new bitmap's content is undefined; the engine expects the platform's usual black.
    PatBlt(memory.Dc(), 0, 0, width, height, BLACKNESS);
    if (!ReplayOnto(memory.Dc(), surface) || !memory.CopyOneBitRows(height, file.data() + kBmpPixelOffset, info))
      return std::nullopt;
  }

  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfSize = static_cast<DWORD>(file.size());
  fileHeader.bfOffBits = kBmpPixelOffset;
  std::memcpy(file.data(), &fileHeader, sizeof fileHeader);
  // The platform may have filled in fields of its own (the image size, the colours used); the file
  // keeps the header as written, with the table the platform gave.
  const OneBitInfo written = OneBitHeader(width, height, static_cast<std::uint32_t>(imageSize));
  std::memcpy(file.data() + kBmpFileHeaderSize, &written.header, sizeof written.header);
  std::memcpy(file.data() + kBmpFileHeaderSize + kBmpInfoHeaderSize, info.colors, sizeof info.colors);
  return file;
}

}  // namespace varnel
