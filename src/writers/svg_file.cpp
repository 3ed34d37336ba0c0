#include "writers/svg_file.h"

#include <algorithm>
#include <array>
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

using namespace std::string_view_literals;

constexpr int kNormalWeight = 400;
// About what a bar's rectangle takes, to make room for a document before it is spelled.
constexpr std::size_t kBytesPerShape = 64;
// Room for the document's opening, at the longest sizes too.
constexpr std::size_t kHeadBytes = 320;
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

// Control characters are left out of the text: XML cannot carry them.
bool IsCharacter(std::uint8_t byte) { return byte >= 0x20; }

bool HasCharacters(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return IsCharacter(static_cast<std::uint8_t>(c)); });
}

// The bytes that stand for themselves in element content: printable ASCII but markup.
constexpr std::array<bool, 256> kStandsForItself = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0x20; byte < 0x80; ++byte) plain[byte] = byte != '&' && byte != '<' && byte != '>' && byte != '"';
  return plain;
}();

// The run's characters as element content: most are plain ASCII, appended a stretch at a time.
void AppendContent(std::string& out, std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = at;
    while (end < text.size() && kStandsForItself[static_cast<std::uint8_t>(text[end])]) ++end;
    out.append(text.data() + at, end - at);
    if (end < text.size()) {
      const auto byte = static_cast<std::uint8_t>(text[end++]);
      if (IsCharacter(byte)) AppendCharacter(out, byte);
    }
    at = end;
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
  std::string head;
  head.reserve(kHeadBytes);
  head += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\""sv;
  head += MillimetresText(width, screen.x);
  head += "mm\" height=\""sv;
  head += MillimetresText(height, screen.y);
  head += "mm\" viewBox=\"0 0 "sv;
  svg::AppendNumber(head, width);
  head += ' ';
  svg::AppendNumber(head, height);
  head += "\" preserveAspectRatio=\"none\" shape-rendering=\"crispEdges\">\n"sv;
  return head;
}

class SvgDocument {
 public:
  SvgDocument(int width, int height, ScreenResolution screen, std::optional<COLORREF> transparent)
      : picture_{0, 0, width, height}, transparent_(transparent), canvas_(DocumentHead(width, height, screen), picture_) {}

  void OnFill(const FillOp& fill) { Cells(fill.rect, fill.color); }

  // The default pen is solid black, whatever the colours of the picture.
  void OnLine(const LineOp& line) { Cells(LineCells(line), kBlack); }

  // A run is spelled straight onto the document: its clip path as a definition, then its group of
  // background cell and characters. Only a cell that clears is spelled aside, for its mask.
  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;  // the raster draws nothing of it either

    FontLease& font = runFont_.For(text.font);
    const RunLayout run = LayOutRun(text, font);
    const bool cell = run.width > 0;
    const bool cellClears = cell && Clears(text.backColor);
    const bool cellDrawn = cell && !cellClears;
    const bool charactersDrawn = !Clears(text.textColor) && HasCharacters(text.text);
    if (!cellDrawn && !charactersDrawn && !cellClears) return;

    open_.clear();
    std::string_view close = "</g>\n"sv;
    if (clipped) {
      ++clipPaths_;
      std::string& definitions = canvas_.DefineOnto();
      definitions += "<clipPath id=\"clip"sv;
      svg::AppendNumber(definitions, clipPaths_);
      definitions += "\">"sv;
      svg::AppendRectangle(definitions, area, std::nullopt);
      definitions += "</clipPath>\n"sv;
      open_ += "<g clip-path=\"url(#clip"sv;
      svg::AppendNumber(open_, clipPaths_);
      open_ += ")\">\n"sv;
      close = "</g>\n</g>\n"sv;
    }
    open_ += "<g transform=\"translate("sv;
    svg::AppendNumber(open_, text.reference.x);
    open_ += ' ';
    svg::AppendNumber(open_, text.reference.y);
    if (run.quarterTurns != 0) {
      open_ += ") rotate("sv;
      svg::AppendNumber(open_, -90 * run.quarterTurns);
    }
    open_ += ")\">\n"sv;
    if (cellClears) {
      shape_.assign(open_);
      svg::AppendRectangle(shape_, run.start, run.top, run.width, font.CellHeight(), kBlack);
      shape_ += close;
      canvas_.Clear(shape_);
    }
    if (cellDrawn || charactersDrawn) {
      std::string& out = canvas_.DrawOnto();
      out += open_;
      if (cellDrawn) svg::AppendRectangle(out, run.start, run.top, run.width, font.CellHeight(), text.backColor);
      if (charactersDrawn) AppendCharacters(out, text, run, font);
      out += close;
    }
  }

  void Reserve(std::size_t bytes) { canvas_.Reserve(bytes); }
  FileBytes Finish() {
    runFont_.Release();
    return canvas_.Finish();
  }

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

  // The characters XML can carry, each at its pen position, as a text element; the caller knows there
  // is one at least. Spaces are kept as they are: the positions are given per character, and
  // collapsing would give them to the wrong ones.
  void AppendCharacters(std::string& out, const TextOp& text, const RunLayout& run, FontLease& font) {
    out += "<text x=\""sv;
    std::int64_t pen = run.start;
    bool first = true;
    for (const char c : text.text) {
      const auto byte = static_cast<std::uint8_t>(c);
      if (IsCharacter(byte)) {
        if (!first) out += ' ';
        svg::AppendNumber(out, pen);
        first = false;
      }
      pen += font.Advance(byte);
    }
    out += '"';
    svg::AppendAttribute(out, "y", run.baseline);
    out += " font-family=\""sv;
    out += FamilyOf(text.font);
    out += '"';
    svg::AppendAttribute(out, "font-size", font.EmHeight());
    if (const int weight = CssWeight(text.font); weight != kNormalWeight) svg::AppendAttribute(out, "font-weight", weight);
    if (text.font && text.font->lfItalic != 0) out += " font-style=\"italic\""sv;
    out += " fill=\""sv;
    svg::AppendColour(out, text.textColor);
    out += "\" xml:space=\"preserve\">"sv;
    AppendContent(out, text.text);
    out += "</text>\n"sv;
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
  std::string shape_, open_;
  RunFontLease runFont_;
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
