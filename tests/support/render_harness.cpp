#include "support/render_harness.h"
#include "drawing/context.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

#include "outputs/render_to_surface.h"
#include "writers/bmp_file.h"
#include "platform/screen.h"
#include "engine/render_driver.h"
#include "drawing/context.h"
#include "varnel32.h"

namespace varnel::testing {

void ResetLibrary() {
  SetScreenResolution(96, 96);
  VnSetDefault();
}

Surface RenderToSurface() { return varnel::RenderToSurface(DefaultContext()); }

Bitmap RenderToBitmap() {
  const Surface surface = RenderToSurface();
  const auto file = EncodeOneBitBmp(surface, Palette{DefaultContext().settings.barColor, DefaultContext().settings.backColor});
  if (!file) return Bitmap{};
  return ReadBmpBytes(*file).value_or(Bitmap{});
}

std::vector<Rect> RecordedFills(const Surface& surface) {
  std::vector<Rect> fills;
  for (const DrawOp& op : surface.Operations()) {
    if (op.kind == DrawOpKind::kFill) fills.push_back(surface.Fill(op).rect);
  }
  return fills;
}

std::string ModulesAlongRow(const Bitmap& bitmap, int y, int x0, int moduleWidth, int moduleCount) {
  std::string modules;
  for (int i = 0; i < moduleCount; ++i) modules += IsDark(bitmap, x0 + i * moduleWidth + moduleWidth / 2, y) ? '1' : '0';
  return modules;
}

std::string ModulesAlongColumn(const Bitmap& bitmap, int x, int y0, int moduleWidth, int moduleCount) {
  std::string modules;
  for (int i = 0; i < moduleCount; ++i) modules += IsDark(bitmap, x, y0 + i * moduleWidth + moduleWidth / 2) ? '1' : '0';
  return modules;
}

std::vector<int> RunsAlongRow(const Bitmap& bitmap, int y) {
  std::vector<int> runs;
  int x = 0;
  while (x < bitmap.width && !IsDark(bitmap, x, y)) ++x;
  while (x < bitmap.width) {
    const bool dark = IsDark(bitmap, x, y);
    int length = 0;
    while (x < bitmap.width && IsDark(bitmap, x, y) == dark) ++x, ++length;
    runs.push_back(length);
  }
  if (runs.size() % 2 == 0 && !runs.empty()) runs.pop_back();  // the light run after the last bar
  return runs;
}

Bitmap Unrotate(const Bitmap& bitmap, int orientation) {
  if (orientation == 0) return bitmap;
  const bool swap = orientation % 2 != 0;
  Bitmap turned;
  turned.width = swap ? bitmap.height : bitmap.width;
  turned.height = swap ? bitmap.width : bitmap.height;
  turned.gray.resize(bitmap.gray.size());
  turned.rgb.resize(bitmap.rgb.size());
  for (int y = 0; y < turned.height; ++y) {
    for (int x = 0; x < turned.width; ++x) {
      int sx = x, sy = y;
      if (orientation == 1) { sx = y; sy = bitmap.height - 1 - x; }        // read bottom to top
      else if (orientation == 2) { sx = bitmap.width - 1 - x; sy = bitmap.height - 1 - y; }
      else { sx = bitmap.width - 1 - y; sy = x; }                           // read top to bottom
      const std::size_t from = static_cast<std::size_t>(sy) * bitmap.width + sx;
      const std::size_t to = static_cast<std::size_t>(y) * turned.width + x;
      turned.gray[to] = bitmap.gray[from];
      turned.rgb[to] = bitmap.rgb[from];
    }
  }
  return turned;
}

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path().string()) {}

TempDir::TempDir(const std::string& parent) {
  std::string pattern = (std::filesystem::path(parent) / "varnel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

std::string MemoryFolder() {
  std::error_code ignored;
  if (std::filesystem::is_directory("/dev/shm", ignored) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return std::filesystem::temp_directory_path().string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace varnel::testing
