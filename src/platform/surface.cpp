#include "platform/surface.h"

namespace varnel {

void Surface::FillRect(const Rect& rect, Brush brush) {
  if (rect.left >= rect.right || rect.top >= rect.bottom) return;  // paints nothing
  operations_.push_back(DrawOp{DrawOpKind::kFill, static_cast<std::uint32_t>(fills_.size())});
  fills_.push_back(FillOp{rect, brush.color});
}

void Surface::ExtTextOut(Point reference, unsigned options, const Rect& clip, const char* text,
                         int length) {
  operations_.push_back(DrawOp{DrawOpKind::kText, static_cast<std::uint32_t>(texts_.size())});
  texts_.push_back(TextOp{reference, align_, options, clip, font_, textColor_, backColor_,
                          std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0)});
}

void Surface::LineTo(Point point) {
  operations_.push_back(DrawOp{DrawOpKind::kLine, static_cast<std::uint32_t>(lines_.size())});
  lines_.push_back(LineOp{penPosition_, point});
  penPosition_ = point;
}

}  // namespace varnel
