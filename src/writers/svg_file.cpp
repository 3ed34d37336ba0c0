#include "writers/svg_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/font_engine.h"
#include "writers/line_cells.h"
#include "writers/physical_length.h"
#include "writers/svg_canvas.h"
#include "writers/text_layout.h"
#include "base/windows_1252.h"

namespace varnel {
namespace {

constexpr int kNormalWeight = 400;
// The font engine's own fallback when a face name finds nothing.
constexpr char kGenericFamily[] = "sans-serif";

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

Rect Intersection(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// "#rrggbb" from 0x00BBGGRR.
std::string ColourName(COLORREF color) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string name = "#";
  for (const std::uint8_t component : {RedOf(color), GreenOf(color), BlueOf(color)}) {
    name += kDigits[component >> 4];
    name += kDigits[component & 0xF];
  }
  return name;
}

// Text in an attribute value or element content: the markup characters become references.
void AppendEscaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// The face name as a CSS string, then the generic family. Quotes and backslashes are escaped for
// CSS and control characters written as CSS hex escapes, so any 8-bit name is a valid value.
std::string FontFamilyList(const std::optional<FontDescription>& font) {
  const std::size_t length = font ? strnlen(font->lfFaceName, sizeof font->lfFaceName) : 0;
  if (length == 0) return kGenericFamily;
  std::string family = "'";
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<std::uint8_t>(font->lfFaceName[i]);
    if (byte == '\'' || byte == '\\') {
      family += '\\';
      family += static_cast<char>(byte);
    } else if (byte < 0x20 || byte == 0x7F) {
      constexpr char kDigits[] = "0123456789abcdef";
      family += '\\';
      family += kDigits[byte >> 4];
      family += kDigits[byte & 0xF];
      family += ' ';
    } else {
      AppendWindows1252AsUtf8(family, byte);
    }
  }
  return family + "', " + kGenericFamily;
}

// The weights the font engine asks fontconfig for, to the nearest of the nine that every reader
// knows.
int CssWeight(const std::optional<FontDescription>& font) {
  if (!font || font->lfWeight <= 0) return kNormalWeight;
  return std::clamp((std::min(font->lfWeight, 1000) + 50) / 100 * 100, 100, 900);
}

// The opening of the document. The view box is the pixel grid; the size is the picture's at the
// screen's resolution, each side at its own, and the grid is stretched to it however the two
// resolutions differ.
std::string DocumentHead(int width, int height, ScreenResolution screen) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
         MillimetresText(width, screen.x) + "mm\" height=\"" + MillimetresText(height, screen.y) +
         "mm\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) +
         "\" preserveAspectRatio=\"none\" shape-rendering=\"crispEdges\">\n";
}

// Without a colour: a clip path's shape.
std::string RectangleElement(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                             std::optional<COLORREF> color) {
  std::string element = "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                        std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"";
  if (color) element += " fill=\"" + ColourName(*color) + "\"";
  return element + "/>\n";
}

std::string CellsElement(const Rect& cells, std::optional<COLORREF> color) {
  return RectangleElement(cells.left, cells.top, std::int64_t{cells.right} - cells.left,
                          std::int64_t{cells.bottom} - cells.top, color);
}

class SvgDocument {
 public:
  SvgDocument(int width, int height, ScreenResolution screen, std::optional<COLORREF> transparent)
      : picture_{0, 0, width, height}, transparent_(transparent), canvas_(DocumentHead(width, height, screen), picture_) {}

  void OnFill(const FillOp& fill) { Cells(fill.rect, fill.color); }

  // The default pen is solid black, whatever the colours of the picture.
  void OnLine(const LineOp& line) { Cells(LineCells(line), kBlack); }

  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;  // the raster draws nothing of it either

    FontLease font(text.font);
    const RunLayout run = LayOutRun(text, font);
    const bool cell = run.width > 0;
    const bool cellClears = cell && Clears(text.backColor);
    const std::string drawn = (cell && !cellClears ? RectangleElement(run.start, run.top, run.width,
                                                                      font.CellHeight(), text.backColor)
                                                   : "") +
                              (Clears(text.textColor) ? "" : Characters(text, run, font));
    if (drawn.empty() && !cellClears) return;

    std::string open, close = "</g>\n";
    if (clipped) {
      const std::string id = "clip" + std::to_string(++clipPaths_);
      canvas_.Define("<clipPath id=\"" + id + "\">" + CellsElement(area, std::nullopt) + "</clipPath>\n");
      open = "<g clip-path=\"url(#" + id + ")\">\n";
      close += "</g>\n";
    }
    open += "<g transform=\"translate(" + std::to_string(text.reference.x) + " " + std::to_string(text.reference.y);
    if (run.quarterTurns != 0) open += ") rotate(" + std::to_string(-90 * run.quarterTurns);
    open += ")\">\n";
    if (cellClears) canvas_.Clear(open + RectangleElement(run.start, run.top, run.width, font.CellHeight(), kBlack) + close);
    if (!drawn.empty()) canvas_.Draw(open + drawn + close);
  }

  FileBytes Finish() { return canvas_.Finish(); }

 private:
  // A transparent background's colour clears instead of painting.
  bool Clears(COLORREF color) const { return transparent_ && color == *transparent_; }

  void Cells(const Rect& rect, COLORREF color) {
    const Rect cells = Intersection(rect, picture_);
    if (IsEmpty(cells)) return;
    if (Clears(color)) {
      canvas_.Clear(CellsElement(cells, kBlack));
    } else {
      canvas_.Draw(CellsElement(cells, color));
    }
  }

  // The characters XML can carry, each at its pen position, as a text element; nothing when there
  // are none. Spaces are kept as they are: the positions are given per character, and collapsing
  // would give them to the wrong ones.
  static std::string Characters(const TextOp& text, const RunLayout& run, FontLease& font) {
    std::string positions, content;
    std::int64_t pen = run.start;
    for (const char c : text.text) {
      const auto byte = static_cast<std::uint8_t>(c);
      if (byte >= 0x20) {
        if (!positions.empty()) positions += ' ';
        positions += std::to_string(pen);
        std::string character;
        AppendWindows1252AsUtf8(character, byte);
        AppendEscaped(content, character);
      }
      pen += font.Advance(byte);
    }
    if (content.empty()) return "";

    std::string element = "<text x=\"" + positions + "\" y=\"" + std::to_string(run.baseline) + "\" font-family=\"";
    AppendEscaped(element, FontFamilyList(text.font));
    element += "\" font-size=\"" + std::to_string(font.EmHeight()) + "\"";
    if (const int weight = CssWeight(text.font); weight != kNormalWeight) {
      element += " font-weight=\"" + std::to_string(weight) + "\"";
    }
    if (text.font && text.font->lfItalic != 0) element += " font-style=\"italic\"";
    return element + " fill=\"" + ColourName(text.textColor) + "\" xml:space=\"preserve\">" + content + "</text>\n";
  }

  Rect picture_;
  std::optional<COLORREF> transparent_;
  SvgCanvas canvas_;
  int clipPaths_ = 0;
};

}  // namespace

std::optional<FileBytes> EncodeSvg(const Surface& surface, ScreenResolution screen,
                                   std::optional<COLORREF> transparent) {
  try {
    SvgDocument document(surface.Width(), surface.Height(), screen, transparent);
    surface.Replay(document);
    return document.Finish();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
