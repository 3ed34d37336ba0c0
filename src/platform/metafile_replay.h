// Turning a recorded surface into metafile records, the same way for both formats: which objects
// and state records each operation needs, and when. The format's writer (`Records`) only spells
// the records.
//
// - A fill becomes an outline through the four corners of its cells, filled with a solid brush of
//   its colour. Readers that draw shapes geometrically paint exactly the outline's area, the cells
//   left <= x < right, top <= y < bottom. A rectangle record would not do: drawn with a null pen,
//   the platform leaves out its right column and bottom row. Where the format's shape is also
//   stroked with the pen (Records::kFillDrawsOutline), a null pen is selected first.
// - A text run selects its font (the surface's default font when it has none), sets the text and
//   background colours and the alignment when they change, and is written with the advance of each
//   character from our font engine, so that a reader that substitutes the face keeps our widths.
// - A line moves to its start when the pen is not already there and draws to its end in a solid,
//   one-unit, black pen, the platform's default pen. It is created, not taken from the stock: a
//   Windows metafile has no stock objects, and once a null pen is selected the default is gone.
//
// Everything is clipped to the picture first, as the raster is: fills to their visible cells, text
// clip rectangles to the picture. What lies wholly outside is not written.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/font_engine.h"
#include "platform/gdi_types.h"
#include "platform/metafile_records.h"
#include "platform/surface.h"

namespace varnel {

enum class MetafilePen { kNull, kLine };

// The font a run is recorded with: its own, or the surface's default font (Arial, a sans face,
// with a 16-unit cell). The face name is cut at its NUL (at most 31 characters) and zero-padded,
// and the escapement and orientation are brought into 0 to 3599: the engine turns upright text by
// 3600, which readers that special-case rotated text treat as turned.
FontDescription MetafileFont(const std::optional<FontDescription>& font);

Rect Intersection(const Rect& a, const Rect& b);
inline bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

bool SameFont(const FontDescription& a, const FontDescription& b);

template <typename Records>
class MetafileReplay {
 public:
  MetafileReplay(Records& records, int width, int height)
      : records_(records), objects_(Records::kFirstObjectIndex), picture_{0, 0, width, height} {}

  void OnFill(const FillOp& fill) {
    const Rect cells = Intersection(fill.rect, picture_);
    if (IsEmpty(cells)) return;
    if constexpr (Records::kFillDrawsOutline) UsePen(MetafilePen::kNull);
    UseBrush(fill.color);
    records_.FillCells(cells);
  }

  // Clipping is the only option the surface records.
  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;
    UseFont(MetafileFont(text.font));
    if (textColor_ != text.textColor) {
      textColor_ = text.textColor;
      records_.SetTextColor(text.textColor);
    }
    if (backColor_ != text.backColor) {
      backColor_ = text.backColor;
      records_.SetBkColor(text.backColor);
    }
    if (align_ != text.align) {
      align_ = text.align;
      records_.SetTextAlign(text.align);
    }
    MeasureAdvances(text);
    records_.TextOut(text.reference, clipped ? &area : nullptr, text.text, advances_);
  }

  void OnLine(const LineOp& line) {
    UsePen(MetafilePen::kLine);
    if (position_ != line.from) records_.MoveTo(line.from);
    records_.LineTo(line.to);
    position_ = line.to;
  }

  // At the end: the defaults back in place where the format has them, then every object deleted.
  void ReleaseObjects() {
    records_.SelectDefaultObjects();
    for (std::optional<std::uint32_t>* object : {&brush_, &font_, &nullPen_, &linePen_}) {
      if (!*object) continue;
      Delete(**object);
      object->reset();
    }
  }

  std::uint32_t ObjectTableSize() const { return objects_.Size(); }

 private:
  void UsePen(MetafilePen pen) {
    if (pen_ == pen) return;
    std::optional<std::uint32_t>& object = pen == MetafilePen::kNull ? nullPen_ : linePen_;
    if (!object) {
      object = objects_.Create();
      records_.CreatePen(*object, pen);
    }
    records_.SelectObject(*object);
    pen_ = pen;
  }

  // A new object is selected before the one it replaces is deleted: an object is never deleted
  // while it is selected.
  void UseBrush(COLORREF color) {
    if (brush_ && brushColor_ == color) return;
    const std::uint32_t index = objects_.Create();
    records_.CreateBrush(index, color);
    Replace(brush_, index);
    brushColor_ = color;
  }

  void UseFont(const FontDescription& font) {
    if (font_ && SameFont(currentFont_, font)) return;
    const std::uint32_t index = objects_.Create();
    records_.CreateFont(index, font);
    Replace(font_, index);
    currentFont_ = font;
  }

  void MeasureAdvances(const TextOp& text) {
    advances_.clear();
    FontLease lease(text.font);
    for (const char c : text.text) advances_.push_back(lease.Advance(static_cast<std::uint8_t>(c)));
  }

  void Replace(std::optional<std::uint32_t>& current, std::uint32_t index) {
    records_.SelectObject(index);
    if (current) Delete(*current);
    current = index;
  }

  void Delete(std::uint32_t index) {
    records_.DeleteObject(index);
    objects_.Release(index);
  }

  Records& records_;
  ObjectTable objects_;
  Rect picture_;
  std::optional<MetafilePen> pen_;
  std::optional<std::uint32_t> nullPen_;
  std::optional<std::uint32_t> linePen_;
  std::optional<std::uint32_t> brush_;
  COLORREF brushColor_ = 0;
  std::optional<std::uint32_t> font_;
  FontDescription currentFont_{};
  // Unknown until first set: a reader's defaults are not relied on.
  std::optional<COLORREF> textColor_;
  std::optional<COLORREF> backColor_;
  std::optional<unsigned> align_;
  std::optional<Point> position_;
  std::vector<int> advances_;
};

}  // namespace varnel
