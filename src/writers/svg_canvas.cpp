#include "writers/svg_canvas.h"

#include <cstdint>
#include <utility>

namespace varnel {
namespace {

std::string MaskId(int number) { return "clear" + std::to_string(number); }

}  // namespace

SvgCanvas::SvgCanvas(std::string head, const Rect& picture)
    : out_(std::move(head)), bodyStart_(out_.size()), picture_(picture) {}

void SvgCanvas::Draw(const std::string& shapes) {
  out_ += shapes;
  drawn_ = drawn_ || !shapes.empty();
}

// Everything drawn so far goes into a group under the new mask: white keeps, black clears. Its
// opening is put in at the start of the body when the document is finished, the last mask's
// outermost; the mask itself comes after the group, as a definition that draws nothing. Nothing
// drawn yet, nothing to clear.
void SvgCanvas::Clear(const std::string& shapes) {
  if (!drawn_) return;
  const std::string x = std::to_string(picture_.left), y = std::to_string(picture_.top);
  const std::string width = std::to_string(std::int64_t{picture_.right} - picture_.left);
  const std::string height = std::to_string(std::int64_t{picture_.bottom} - picture_.top);
  out_ += "</g>\n<mask id=\"" + MaskId(++masks_) + "\" maskUnits=\"userSpaceOnUse\" x=\"" + x + "\" y=\"" + y +
          "\" width=\"" + width + "\" height=\"" + height + "\">\n<rect x=\"" + x + "\" y=\"" + y + "\" width=\"" +
          width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n" + shapes + "</mask>\n";
}

FileBytes SvgCanvas::Finish() {
  std::string openings;
  for (int number = masks_; number >= 1; --number) openings += "<g mask=\"url(#" + MaskId(number) + ")\">\n";
  out_.insert(bodyStart_, openings);
  out_ += "</svg>\n";
  return FileBytes(out_.begin(), out_.end());
}

}  // namespace varnel
