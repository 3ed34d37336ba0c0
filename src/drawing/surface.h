// The drawing surface: every drawing operation of a render, recorded in order with the state it was
// issued in. Each output encodes the same recording (raster, metafile), so all outputs show one
// picture.
#pragma once

#include <optional>
#include <string>
#include <cstdint>
#include <vector>

#include "base/gdi_types.h"

namespace varnel {

struct FillOp {
  Rect rect;
  COLORREF color;
};

struct TextOp {
  Point reference;
  unsigned align;
  unsigned options;
  Rect clip;
  std::optional<FontDescription> font;  // empty: the surface's default font
  COLORREF textColor;
  COLORREF backColor;
  std::string text;
};

// A one-unit line in the default pen (solid black) from `from` up to but not including `to`.
struct LineOp {
  Point from;
  Point to;
};

enum class DrawOpKind : std::uint8_t { kFill, kText, kLine };

// One recorded operation: its kind, and a fill itself or a text run's or line's place in the list
// of its kind. A picture is mostly fills (the bars), which are recorded and read back in order,
// with no list of their own to keep.
struct DrawOp {
  DrawOpKind kind;
  std::uint32_t index;  // texts and lines
  FillOp fill;          // fills
};

class Surface {
 public:
  // The most operations a picture records. A symbol takes a few thousand at most; only a dashed
  // frame grows with the picture, by a line for every eight pixels of its edges. Past this many (a
  // dashed frame around some two million pixels of edge) the surface records nothing more and is
  // incomplete, and every output refuses it, rather than take memory without bound.
  static constexpr std::size_t kMaxOperations = std::size_t{1} << 18;

  Surface(int width, int height) : width_(width), height_(height) {}

  // Forgets every operation and starts again as a fresh surface of the new size, keeping the
  // memory of its lists: a surface reused from render to render stops allocating.
  void Restart(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // False once an operation was dropped for want of room: the recording is not the picture.
  bool Complete() const { return complete_; }
  const std::vector<DrawOp>& Operations() const { return operations_; }
  const FillOp& Fill(const DrawOp& op) const { return op.fill; }
  const TextOp& Text(const DrawOp& op) const { return texts_[op.index]; }
  const LineOp& Line(const DrawOp& op) const { return lines_[op.index]; }

  // Calls visitor.OnFill, OnText or OnLine for every operation, in the order they were issued.
  template <typename Visitor>
  void Replay(Visitor&& visitor) const {
    for (const DrawOp& op : operations_) {
      switch (op.kind) {
        case DrawOpKind::kFill: visitor.OnFill(op.fill); break;
        case DrawOpKind::kText: visitor.OnText(texts_[op.index]); break;
        case DrawOpKind::kLine: visitor.OnLine(lines_[op.index]); break;
      }
    }
  }

  // Inline: a picture's bars come through here one by one.
  void FillRect(const Rect& rect, Brush brush) {
    if (rect.left >= rect.right || rect.top >= rect.bottom) return;  // paints nothing
    if (!Admit()) return;
    operations_.push_back(DrawOp{DrawOpKind::kFill, 0, FillOp{rect, brush.color}});
  }
  void SetTextColor(COLORREF color) { dc_.textColor = color; }
  void SetBkColor(COLORREF color) { dc_.backColor = color; }
  void SetTextAlign(unsigned align) { dc_.align = align; }
  void SelectFont(const FontDescription& font) { dc_.font = font; }
  void ExtTextOut(Point reference, unsigned options, const Rect& clip, const char* text, int length);
  void MoveTo(Point point) { dc_.penPosition = point; }
  void LineTo(Point point);

  // Moves every operation from the `first`-th on by dx, dy: a symbol recorded from the picture's
  // edge is moved to where it is centred. The caller keeps every coordinate within an int.
  void Shift(std::size_t first, int dx, int dy);

 private:
  // Whether one more operation fits; when it does not, the surface becomes incomplete.
  bool Admit() {
    if (operations_.size() < kMaxOperations) return true;
    complete_ = false;
    return false;
  }

  // A fresh surface's state, as the platform gives it: black text on a white opaque background,
  // left-top alignment, the default font, the pen at the origin.
  struct DeviceContext {
    COLORREF textColor = kBlack;
    COLORREF backColor = 0xFFFFFF;
    unsigned align = 0;
    std::optional<FontDescription> font;
    Point penPosition{0, 0};
  };

  int width_;
  int height_;
  std::vector<DrawOp> operations_;
  std::vector<TextOp> texts_;
  std::vector<LineOp> lines_;
  DeviceContext dc_;
  bool complete_ = true;
};

}  // namespace varnel
