// Turning a recorded surface into metafile records, the same way for both formats: which objects
// and state records each operation needs, and when. The format's writer (`Records`) only spells
// the records.
//
// - A fill becomes an outline through the four corners of its cells, filled with a solid brush of
//   its colour. Readers that draw shapes geometrically paint exactly the outline's area, the cells
//   left <= x < right, top <= y < bottom. A rectangle record would not do: drawn with a null pen,
//   the platform leaves out its right column and bottom row. Where the format's shape is also
//   stroked with the pen (Records::kFillDrawsOutline), a null pen is selected first.
// - Consecutive fills of one colour (the bars) are one shape of several outlines, filled in the
//   winding mode, so that where two overlap their cells are painted once, never left out as the
//   alternate mode would: one record for all the bars instead of one or more for each.
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

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/font_engine.h"
#include "base/gdi_types.h"
#include "writers/metafile_records.h"
#include "drawing/surface.h"

namespace varnel {

enum class MetafilePen { kNull, kLine };

// The advance of each byte in a run's font, from our font engine.
using AdvanceTable = std::array<int, 256>;

// The font a run is recorded with: its own, or the surface's default font (Arial, a sans face,
// with a 16-unit cell). The face name is cut at its NUL (at most 31 characters) and zero-padded,
// and the escapement and orientation are brought into 0 to 3599: the engine turns upright text by
// 3600, which readers that special-case rotated text treat as turned.
FontDescription MetafileFont(const std::optional<FontDescription>& font);

inline Rect Intersection(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}
inline bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

inline constexpr std::uint32_t kWindingFillMode = 2;  // WINDING

template <typename Records>
class MetafileReplay {
 public:
  MetafileReplay(Records& records, int width, int height)
      : records_(records), objects_(Records::kFirstObjectIndex), picture_{0, 0, width, height} {}

  // Records every operation of the surface, in order.
  void Play(const Surface& surface) {
    const std::vector<DrawOp>& ops = surface.Operations();
    for (std::size_t i = 0; i < ops.size();) {
      switch (ops[i].kind) {
        case DrawOpKind::kFill: i = PlayFills(surface, i); continue;
        case DrawOpKind::kText: OnText(surface.Text(ops[i])); break;
        case DrawOpKind::kLine: OnLine(surface.Line(ops[i])); break;
      }
      ++i;
    }
    lease_.reset();
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
  // The fill at `first` and those after it of its colour (as many as one record can hold) as one
  // shape, of the visible cells of each; returns the position after them.
  std::size_t PlayFills(const Surface& surface, std::size_t first) {
    const std::vector<DrawOp>& ops = surface.Operations();
    const COLORREF color = surface.Fill(ops[first]).color;
    // Kept from picture to picture, so that a run takes no allocation once a picture has been seen.
    // It is sized before the run and filled through a plain pointer: in a shared library each use
    // of a thread-local by its name is a call into the loader, and growing it outline by outline
    // would read it back from thread storage at every one.
    thread_local std::vector<Rect> keptOutlines;
    std::vector<Rect>& kept = keptOutlines;
    const std::size_t most = std::min(ops.size() - first, Records::kMaxOutlines);
    if (kept.size() < most) kept.resize(most);
    Rect* const outlines = kept.data();
    // Read once: the outlines' stores could otherwise be taken to change the picture's edges.
    const Rect picture = picture_;
    std::size_t count = 0, end = first;
    for (const std::size_t last = first + most; end < last && ops[end].kind == DrawOpKind::kFill; ++end) {
      const FillOp fill = surface.Fill(ops[end]);
      if (fill.color != color) break;
      const Rect cells = Intersection(fill.rect, picture);
      if (!IsEmpty(cells)) outlines[count++] = cells;
    }
    if (count == 0) return end;
    if constexpr (Records::kFillDrawsOutline) UsePen(MetafilePen::kNull);
    UseBrush(color);
    if (!windingFill_) {
      records_.SetPolyFillMode(kWindingFillMode);
      windingFill_ = true;
    }
    records_.FillCells(std::span<const Rect>(outlines, count));
    return end;
  }

  // Clipping is the only option the surface records.
  void OnText(const TextOp& text) {
    const bool clipped = (text.options & kTextClipped) != 0;
    const Rect area = clipped ? Intersection(text.clip, picture_) : picture_;
    if (IsEmpty(area)) return;
    UseRunFont(text.font);
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
    records_.TextOut(text.reference, clipped ? &area : nullptr, text.text, advanceOf_);
  }

  void OnLine(const LineOp& line) {
    UsePen(MetafilePen::kLine);
    if (position_ != line.from) records_.MoveTo(line.from);
    records_.LineTo(line.to);
    position_ = line.to;
  }

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

  // The runs of a picture mostly share one font: it is selected, and its advances start afresh,
  // only when it differs from the last run's.
  void UseRunFont(const std::optional<FontDescription>& font) {
    if (runFontSet_ && SameFont(runFont_, font)) return;
    UseFont(MetafileFont(font));
    runFont_ = font;
    runFontSet_ = true;
    lease_.reset();
    measured_.reset();
  }

  // Our font engine is asked once per byte of the run font, the first time a run shows it. The
  // engine is locked for each lease, so the first lease in the run font is kept until the font
  // changes or the picture ends: a picture whose digits are runs of their own takes one, not one
  // for each run that brings a new digit.
  void MeasureAdvances(const TextOp& text) {
    const auto unmeasured = [this](char c) { return !measured_[static_cast<std::uint8_t>(c)]; };
    if (std::none_of(text.text.begin(), text.text.end(), unmeasured)) return;
    if (!lease_) lease_.emplace(text.font);
    for (const char c : text.text) {
      const auto byte = static_cast<std::uint8_t>(c);
      advanceOf_[byte] = lease_->Advance(byte);
      measured_.set(byte);
    }
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
  bool windingFill_ = false;
  bool runFontSet_ = false;
  std::optional<FontDescription> runFont_;
  AdvanceTable advanceOf_{};  // in the run font, for the bytes measured
  std::bitset<256> measured_;
  std::optional<FontLease> lease_;  // the run font's, once a run in it was measured
};

}  // namespace varnel
