#include "writers/svg_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font_engine.h"
#include "writers/line_cells.h"
#include "writers/physical_length.h"
#include "writers/svg_canvas.h"
#include "writers/svg_markup.h"
#include "writers/text_layout.h"
#include "base/windows_1252.h"

namespace varnel {
namespace {

constexpr int kNormalWeight = 400;
// About what a bar's rectangle takes, to make room for a document before it is spelled.
constexpr std::size_t kBytesPerShape = 64;
// The font engine's own fallback when a face name finds nothing.
constexpr char kGenericFamily[] = "sans-serif";

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

Rect Intersection(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// Text in an attribute value or element content: the markup characters become references.
void AppendEscaped(std::string& out, std::string_view text) {
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

// A byte of the run's Windows-1252 text as the character it names, escaped where it is markup.
void AppendCharacter(std::string& out, std::uint8_t byte) {
  if (byte < 0x80) {
    AppendEscaped(out, std::string_view(reinterpret_cast<const char*>(&byte), 1));
  } else {
    AppendWindows1252AsUtf8(out, byte);  // no markup character is above ASCII
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

class SvgDocument {
 public:
  SvgDocument(int width, int height, ScreenResolution screen, std::optional<COLORREF> transparent)
      : picture_{0, 0, width, height}, transparent_(transparent), canvas_(DocumentHead(width, height, screen), picture_) {}

  void OnFill(const FillOp& fill) { Cells(fill.rect, fill.color); }

  // The default pen is solid black, whatever the colours of the picture.
  void OnLine(const LineOp& line) { Cells(LineCells(line), kBlack); }

  // A run's pieces are spelled into strings the document keeps, so that a picture's runs (an
  // EAN-13 with its add-on has sixteen) take no allocation once the first has been drawn.
  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;  // the raster draws nothing of it either

    FontLease font(text.font);
    const RunLayout run = LayOutRun(text, font);
    const bool cell = run.width > 0;
    const bool cellClears = cell && Clears(text.backColor);
    drawn_.clear();
    if (cell && !cellClears) svg::AppendRectangle(drawn_, run.start, run.top, run.width, font.CellHeight(), text.backColor);
    if (!Clears(text.textColor)) AppendCharacters(drawn_, text, run, font);
    if (drawn_.empty() && !cellClears) return;

    open_.clear();
    std::string_view close = "</g>\n";
    if (clipped) {
      ++clipPaths_;
      shape_.assign("<clipPath id=\"clip");
      svg::AppendNumber(shape_, clipPaths_);
      shape_ += "\">";
      svg::AppendRectangle(shape_, area, std::nullopt);
      shape_ += "</clipPath>\n";
      canvas_.Define(shape_);
      open_ += "<g clip-path=\"url(#clip";
      svg::AppendNumber(open_, clipPaths_);
      open_ += ")\">\n";
      close = "</g>\n</g>\n";
    }
    open_ += "<g transform=\"translate(";
    svg::AppendNumber(open_, text.reference.x);
    open_ += ' ';
    svg::AppendNumber(open_, text.reference.y);
    if (run.quarterTurns != 0) {
      open_ += ") rotate(";
      svg::AppendNumber(open_, -90 * run.quarterTurns);
    }
    open_ += ")\">\n";
    if (cellClears) {
      shape_.assign(open_);
      svg::AppendRectangle(shape_, run.start, run.top, run.width, font.CellHeight(), kBlack);
      shape_ += close;
      canvas_.Clear(shape_);
    }
    if (!drawn_.empty()) {
      shape_.assign(open_);
      shape_ += drawn_;
      shape_ += close;
      canvas_.Draw(shape_);
    }
  }

  void Reserve(std::size_t bytes) { canvas_.Reserve(bytes); }
  FileBytes Finish() { return canvas_.Finish(); }

 private:
  // A transparent background's colour clears instead of painting.
  bool Clears(COLORREF color) const { return transparent_ && color == *transparent_; }

  // Bars are most of a document: each is spelled straight onto it.
  void Cells(const Rect& rect, COLORREF color) {
    const Rect cells = Intersection(rect, picture_);
    if (IsEmpty(cells)) return;
    if (Clears(color)) {
      shape_.clear();
      svg::AppendRectangle(shape_, cells, kBlack);
      canvas_.Clear(shape_);
    } else {
      svg::AppendRectangle(canvas_.DrawOnto(), cells, color);
    }
  }

  // The characters XML can carry, each at its pen position, as a text element; nothing when there
  // are none. Spaces are kept as they are: the positions are given per character, and collapsing
  // would give them to the wrong ones.
  void AppendCharacters(std::string& out, const TextOp& text, const RunLayout& run, FontLease& font) {
    positions_.clear();
    content_.clear();
    std::int64_t pen = run.start;
    for (const char c : text.text) {
      const auto byte = static_cast<std::uint8_t>(c);
      if (byte >= 0x20) {
        if (!positions_.empty()) positions_ += ' ';
        svg::AppendNumber(positions_, pen);
        AppendCharacter(content_, byte);
      }
      pen += font.Advance(byte);
    }
    if (content_.empty()) return;

    out += "<text x=\"";
    out += positions_;
    out += '"';
    svg::AppendAttribute(out, "y", run.baseline);
    out += " font-family=\"";
    out += FamilyOf(text.font);
    out += '"';
    svg::AppendAttribute(out, "font-size", font.EmHeight());
    if (const int weight = CssWeight(text.font); weight != kNormalWeight) svg::AppendAttribute(out, "font-weight", weight);
    if (text.font && text.font->lfItalic != 0) out += " font-style=\"italic\"";
    out += " fill=\"";
    svg::AppendColour(out, text.textColor);
    out += "\" xml:space=\"preserve\">";
    out += content_;
    out += "</text>\n";
  }

  // The font-family attribute's value, escaped, for the font of the last run that asked: the runs
  // of a picture mostly share one.
  const std::string& FamilyOf(const std::optional<FontDescription>& font) {
    if (!familyKnown_ || !SameFont(familyFont_, font)) {
      family_.clear();
      AppendEscaped(family_, FontFamilyList(font));
      familyFont_ = font;
      familyKnown_ = true;
    }
    return family_;
  }

  Rect picture_;
  std::optional<COLORREF> transparent_;
  SvgCanvas canvas_;
  // Scratch, kept from shape to shape.
  std::string shape_, open_, drawn_, positions_, content_;
  std::string family_;
  std::optional<FontDescription> familyFont_;
  bool familyKnown_ = false;
  int clipPaths_ = 0;
};

}  // namespace

std::optional<FileBytes> EncodeSvg(const Surface& surface, ScreenResolution screen,
                                   std::optional<COLORREF> transparent) {
  try {
    SvgDocument document(surface.Width(), surface.Height(), screen, transparent);
    document.Reserve(surface.Operations().size() * kBytesPerShape);
    surface.Replay(document);
    return document.Finish();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace varnel
