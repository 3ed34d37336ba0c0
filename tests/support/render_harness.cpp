#include "support/render_harness.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

#include "api/setters.h"
#include "outputs/pictures.h"
#include "platform/screen.h"
#include "varnel32.h"

namespace varnel::testing {
namespace {

// Where the pictures read back are written: one folder a process, in memory where there is one, as
// a suite may read thousands.
std::string ScratchBmp() {
  static const TempDir folder(MemoryFolder());
  return folder.File("picture.bmp");
}

Bitmap ReadBack(bool written, const std::string& path) {
  return written ? ReadBmp(path).value_or(Bitmap{}) : Bitmap{};
}

template <typename Op>
std::vector<Op> Recorded(const Surface& surface, DrawOpKind kind, const Op& (Surface::*get)(const DrawOp&) const) {
  std::vector<Op> ops;
  for (const DrawOp& op : surface.Operations())
    if (op.kind == kind) ops.push_back((surface.*get)(op));
  return ops;
}

}  // namespace

void ResetLibrary() {
  SetScreenResolution(96, 96);
  VnSetDefault();
}

void ResetLibrary(Context& context) {
  SetScreenResolution(96, 96);
  SetDefault(context);
}

Bitmap RenderToBitmap() {
  const std::string path = ScratchBmp();
  return ReadBack(VnSaveAsBMP(path.c_str()) == 1, path);
}

Bitmap RenderToBitmap(Context& context) {
  const std::string path = ScratchBmp();
  return ReadBack(SaveAsBmp(context, path.c_str()), path);
}

std::vector<Rect> RecordedFills(const Surface& surface) {
  std::vector<Rect> fills;
  for (const FillOp& fill : Recorded(surface, DrawOpKind::kFill, &Surface::Fill)) fills.push_back(fill.rect);
  return fills;
}

std::vector<TextOp> RecordedTexts(const Surface& surface) { return Recorded(surface, DrawOpKind::kText, &Surface::Text); }

std::vector<LineOp> RecordedLines(const Surface& surface) { return Recorded(surface, DrawOpKind::kLine, &Surface::Line); }

std::string PrintedText(const Surface& surface) {
  std::string printed;
  for (const TextOp& text : RecordedTexts(surface)) printed += text.text;
  return printed;
}

Recording Record(const Surface& surface) {
  return Recording{surface.Width(), surface.Height(), Recorded(surface, DrawOpKind::kFill, &Surface::Fill),
                   RecordedTexts(surface), RecordedLines(surface)};
}

bool operator==(const Recording& a, const Recording& b) {
  const auto sameFill = [](const FillOp& x, const FillOp& y) { return x.rect == y.rect && x.color == y.color; };
  const auto sameText = [](const TextOp& x, const TextOp& y) {
    return x.reference == y.reference && x.align == y.align && x.options == y.options && x.clip == y.clip &&
           SameFont(x.font, y.font) && x.textColor == y.textColor && x.backColor == y.backColor && x.text == y.text;
  };
  const auto sameLine = [](const LineOp& x, const LineOp& y) { return x.from == y.from && x.to == y.to; };
  return a.width == b.width && a.height == b.height &&
         std::equal(a.fills.begin(), a.fills.end(), b.fills.begin(), b.fills.end(), sameFill) &&
         std::equal(a.texts.begin(), a.texts.end(), b.texts.begin(), b.texts.end(), sameText) &&
         std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), b.lines.end(), sameLine);
}

void PrintTo(const Recording& recording, std::ostream* out) {
  *out << recording.width << " x " << recording.height << " picture, " << recording.fills.size() << " fills, "
       << recording.lines.size() << " lines, text \"";
  for (const TextOp& text : recording.texts) *out << text.text;
  *out << '"';
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
