#include "writers/svg_canvas.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "writers/svg_markup.h"

namespace varnel {
namespace {

// In a mask, white keeps what is beneath; black clears it.
constexpr COLORREF kMaskKeeps = 0xFFFFFF;

void AppendMaskId(std::string& out, int number) {
  out += "clear";
  svg::AppendNumber(out, number);
}

}  // namespace

SvgCanvas::SvgCanvas(std::string head, const Rect& picture)
    : out_(std::move(head)), bodyStart_(out_.size()), picture_(picture) {}

// Everything drawn so far goes into a group under the new mask: white keeps, black clears. Its
// opening is put in at the start of the body when the document is finished, the last mask's
// outermost; the mask itself comes after the group, as a definition that draws nothing. Nothing
// drawn yet, nothing to clear.
void SvgCanvas::Clear(std::string_view shapes) {
  if (!drawn_) return;
  const std::int64_t width = std::int64_t{picture_.right} - picture_.left;
  const std::int64_t height = std::int64_t{picture_.bottom} - picture_.top;
  out_ += "</g>\n<mask id=\"";
  AppendMaskId(out_, ++masks_);
  out_ += "\" maskUnits=\"userSpaceOnUse\"";
  svg::AppendAttribute(out_, "x", picture_.left);
  svg::AppendAttribute(out_, "y", picture_.top);
  svg::AppendAttribute(out_, "width", width);
  svg::AppendAttribute(out_, "height", height);
  out_ += ">\n";
  svg::AppendRectangle(out_, picture_.left, picture_.top, width, height, kMaskKeeps);
  out_ += shapes;
  out_ += "</mask>\n";
}

FileBytes SvgCanvas::Finish() {
  std::string openings;
  for (int number = masks_; number >= 1; --number) {
    openings += "<g mask=\"url(#";
    AppendMaskId(openings, number);
    openings += ")\">\n";
  }
  out_.insert(bodyStart_, openings);
  out_ += "</svg>\n";
  FileBytes document(out_.size());  // left uninitialised: the copy fills it
  std::memcpy(document.data(), out_.data(), out_.size());
  return document;
}

}  // namespace varnel
