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
  texts_.push_back(TextOp{reference, dc_.align, options, clip, dc_.font, dc_.textColor, dc_.backColor,
                          std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0)});
}

void Surface::LineTo(Point point) {
  if (!Admit()) return;
  operations_.push_back(DrawOp{DrawOpKind::kLine, static_cast<std::uint32_t>(lines_.size()), {}});
  lines_.push_back(LineOp{dc_.penPosition, point});
  dc_.penPosition = point;
}

}  // namespace varnel
