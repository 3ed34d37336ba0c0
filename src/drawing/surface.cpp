#include "drawing/surface.h"

namespace varnel {

namespace {

// An ordinary barcode records a few hundred operations, and the recording keeps that memory from
// one render to the next. One that grew far beyond it (a frame around a huge picture) gives the
// memory back rather than holding it for the life of the process.
constexpr std::size_t kCapacityKeptAcrossRenders = 4096;

template <typename T>
void ClearForNextRender(std::vector<T>& operations) {
  if (operations.capacity() > kCapacityKeptAcrossRenders) {
    std::vector<T>().swap(operations);
  } else {
    operations.clear();
  }
}

}  // namespace

void Surface::Restart(int width, int height) {
  width_ = width;
  height_ = height;
  ClearForNextRender(operations_);
  ClearForNextRender(texts_);
  ClearForNextRender(lines_);
  dc_ = DeviceContext{};
  complete_ = true;
}

void Surface::ExtTextOut(Point reference, unsigned options, const Rect& clip, const char* text,
                         int length) {
  if (!Admit()) return;
  operations_.push_back(DrawOp{DrawOpKind::kText, static_cast<std::uint32_t>(texts_.size()), {}});
  // Filled in where it lies: a run is the size of a font description and more, not worth a copy.
  TextOp& run = texts_.emplace_back();
  run.reference = reference;
  run.align = dc_.align;
  run.options = options;
  run.clip = clip;
  run.font = dc_.font;
  run.textColor = dc_.textColor;
  run.backColor = dc_.backColor;
  run.text.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

namespace {

void ShiftPoint(Point& point, int dx, int dy) {
  point.x += dx;
  point.y += dy;
}

void ShiftRect(Rect& rect, int dx, int dy) {
  rect.left += dx;
  rect.top += dy;
  rect.right += dx;
  rect.bottom += dy;
}

}  // namespace

// Nearly every operation is a bar's fill, shifted in place; the rest point into their lists.
void Surface::Shift(std::size_t first, int dx, int dy) {
  DrawOp* const end = operations_.data() + operations_.size();
  for (DrawOp* op = operations_.data() + first; op < end; ++op) {
    if (op->kind == DrawOpKind::kFill) [[likely]] {
      ShiftRect(op->fill.rect, dx, dy);
    } else if (op->kind == DrawOpKind::kText) {
      ShiftPoint(texts_[op->index].reference, dx, dy);
      ShiftRect(texts_[op->index].clip, dx, dy);
    } else {
      ShiftPoint(lines_[op->index].from, dx, dy);
      ShiftPoint(lines_[op->index].to, dx, dy);
    }
  }
}

void Surface::LineTo(Point point) {
  if (!Admit()) return;
  operations_.push_back(DrawOp{DrawOpKind::kLine, static_cast<std::uint32_t>(lines_.size()), {}});
  lines_.push_back(LineOp{dc_.penPosition, point});
  dc_.penPosition = point;
}

}  // namespace varnel
