// Rendering a barcode for inspection: as the one-bit BMP its output writes, read back by the
// independent reader, or (for a context of the test's own, through RenderToSurface) as the recorded
// drawing operations.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "drawing/surface.h"
#include "drawing/context.h"
#include "support/bmp_reader.h"

namespace varnel::testing {

// The defaults at 96 pixels per inch: every test of the classic exports starts from here, because
// their settings are process-wide.
void ResetLibrary();
// The same for a context of the test's own.
void ResetLibrary(Context& context);

// The picture as the BMP output writes it (the classic exports', or a context's), read back; an
// empty bitmap when no BMP could be written.
Bitmap RenderToBitmap();
Bitmap RenderToBitmap(Context& context);

// The operations recorded in a surface, each kind in the order it was issued.
std::vector<Rect> RecordedFills(const Surface& surface);
std::vector<TextOp> RecordedTexts(const Surface& surface);
std::vector<LineOp> RecordedLines(const Surface& surface);

// Every text run of a surface, run together: the human-readable text as printed, or the message
// that took a refused symbol's place.
std::string PrintedText(const Surface& surface);

// What a recording draws, to set two renders side by side: every fill with its colour, every text
// run with its place, font and colours, every line.
struct Recording {
  int width = 0, height = 0;
  std::vector<FillOp> fills;
  std::vector<TextOp> texts;
  std::vector<LineOp> lines;
};
Recording Record(const Surface& surface);
bool operator==(const Recording& a, const Recording& b);
void PrintTo(const Recording& recording, std::ostream* out);

// One row of a bitmap as '1' (dark) and '0' (light) per module of `moduleWidth` pixels, sampled at
// each module's centre, starting at x0.
std::string ModulesAlongRow(const Bitmap& bitmap, int y, int x0, int moduleWidth, int moduleCount);
// The same down a column.
std::string ModulesAlongColumn(const Bitmap& bitmap, int x, int y0, int moduleWidth, int moduleCount);

// Widths of alternating dark and light runs along row y, starting at the first dark pixel.
std::vector<int> RunsAlongRow(const Bitmap& bitmap, int y);

// The bitmap turned back to reading left to right, whatever the orientation it was drawn in.
Bitmap Unrotate(const Bitmap& bitmap, int orientation);

// A fresh folder under the system's temporary folder, or under `parent`, removed with everything in
// it at the end.
class TempDir {
 public:
  TempDir();
  explicit TempDir(const std::string& parent);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A folder in memory (/dev/shm) where the system has one, else the temporary folder: for suites
// that replace files by the thousand, where a disk's flush of every replacement would be most of
// their time.
std::string MemoryFolder();

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace varnel::testing
