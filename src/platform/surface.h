// The drawing surface: every drawing operation of a render, recorded in order with the state it was
// issued in. Each output encodes the same recording (raster, metafile), so all outputs show one
// picture.
#pragma once

#include <optional>
#include <string>
#include <cstdint>
#include <vector>

#include "platform/gdi_types.h"

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

// One recorded operation: its kind and its place in the list of that kind.
struct DrawOp {
  DrawOpKind kind;
  std::uint32_t index;
};

class Surface {
 public:
  Surface(int width, int height) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<DrawOp>& Operations() const { return operations_; }
  const FillOp& Fill(const DrawOp& op) const { return fills_[op.index]; }
  const TextOp& Text(const DrawOp& op) const { return texts_[op.index]; }
  const LineOp& Line(const DrawOp& op) const { return lines_[op.index]; }

  // Calls visitor.OnFill, OnText or OnLine for every operation, in the order they were issued.
  template <typename Visitor>
  void Replay(Visitor&& visitor) const {
    for (const DrawOp& op : operations_) {
      switch (op.kind) {
        case DrawOpKind::kFill: visitor.OnFill(fills_[op.index]); break;
        case DrawOpKind::kText: visitor.OnText(texts_[op.index]); break;
        case DrawOpKind::kLine: visitor.OnLine(lines_[op.index]); break;
      }
    }
  }

  void FillRect(const Rect& rect, Brush brush);
  void SetTextColor(COLORREF color) { textColor_ = color; }
  void SetBkColor(COLORREF color) { backColor_ = color; }
  void SetTextAlign(unsigned align) { align_ = align; }
  void SelectFont(const FontDescription& font) { font_ = font; }
  void ExtTextOut(Point reference, unsigned options, const Rect& clip, const char* text, int length);
  void MoveTo(Point point) { penPosition_ = point; }
  void LineTo(Point point);

 private:
  int width_;
  int height_;
  std::vector<DrawOp> operations_;
  std::vector<FillOp> fills_;
  std::vector<TextOp> texts_;
  std::vector<LineOp> lines_;
  // A fresh surface's state, as the platform gives it: black text on a white opaque background,
  // left-top alignment, the default font, the pen at the origin.
  COLORREF textColor_ = kBlack;
  COLORREF backColor_ = 0xFFFFFF;
  unsigned align_ = 0;
  std::optional<FontDescription> font_;
  Point penPosition_{0, 0};
};

}  // namespace varnel
