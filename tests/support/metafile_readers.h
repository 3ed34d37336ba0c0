// Independent metafile readers as oracles: libwmf's wmf2svg and emf2svg's emf2svg-conv turn our
// files into SVG, and what they draw is read back from that SVG here, in the picture's own units,
// so that it can be set beside our BMP.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/gdi_types.h"
#include "support/bmp_reader.h"
#include "support/render_harness.h"
#include "varnel32.h"

namespace varnel::testing {

struct ReaderRun {
  int exitStatus = -1;  // the command's exit status; -1 when it could not be run
  std::string svg;      // what it wrote
  std::string errors;   // what it printed on standard error
};

// Each writes `<input>.svg` beside the input.
ReaderRun ReadWithWmf2svg(const std::string& wmfPath);
ReaderRun ReadWithEmf2svg(const std::string& emfPath);

// What a reader drew, in the picture's units: its first filled shape is taken to be the picture's
// background, and the reader's scale and offset are undone so that it spans 0..width by
// 0..height. (libwmf fits the drawing's extent, half a pen wider on each side, into its output;
// emf2svg keeps the units.)
struct ReaderPicture {
  struct Fill {
    double left, top, right, bottom;  // an axis-aligned rectangle
    std::uint32_t rgb;                // 0x00RRGGBB
  };
  struct Segment {
    double x1, y1, x2, y2;
  };
  struct Text {
    std::string content;
    double angle;  // degrees counter-clockwise, 0 to 359
  };
  std::vector<Fill> fills;
  std::vector<Segment> lines;
  std::vector<Text> texts;
};

// Understands the filled polygons and paths, lines and texts that the two readers write. A filled
// shape that is not an axis-aligned rectangle, a colour it cannot name, or a document without a
// background gives nullopt, with the reason in *why.
std::optional<ReaderPicture> ParseReaderSvg(const std::string& svg, int width, int height, std::string* why);

// The fills painted in order onto a width x height bitmap, each over the cells its edges enclose.
// An edge more than 0.02 units from a whole unit gives nullopt: the reader drew between cells.
std::optional<Bitmap> PaintFills(const ReaderPicture& picture, int width, int height);

// Cells where exactly one of the two is dark, outside the `ignored` rectangles.
int CountDarknessDifferences(const Bitmap& a, const Bitmap& b, const std::vector<Rect>& ignored);

// All text contents, in order, run together.
std::string AllText(const ReaderPicture& picture);

// The context's picture saved as our BMP and, through `save`, as a metafile that `read` draws: what
// the reader drew, set beside the BMP and the render's recording.
struct ReaderVerdict {
  std::string failure;       // empty when both files were written and the reader ran cleanly
  ReaderPicture drawn;       // what the reader drew
  int differingCells = 0;    // where its fills and our BMP differ in darkness, outside text boxes
  std::string recordedText;  // the text runs of our render, run together
  std::size_t recordedFills = 0;
};
ReaderVerdict SetBesideBmp(const TempDir& folder, Context& context, bool (*save)(Context&, const char*),
                           ReaderRun (*read)(const std::string&));

}  // namespace varnel::testing
