// The body of an SVG document, drawn in order as the raster paints, where painting a transparent
// background's colour clears what lies beneath instead of covering it: such a shape becomes a mask
// that leaves it out of everything drawn before it. Shapes drawn after it are not masked, so that
// text over its cleared box shows, as the raster's does.
#pragma once

#include <string>
#include <string_view>

#include "base/file_bytes.h"
#include "base/gdi_types.h"

namespace varnel {

class SvgCanvas {
 public:
  // `head` opens the document, up to and including its <svg> element; the masks cover `picture`.
  SvgCanvas(std::string head, const Rect& picture);

  // The document itself, to spell what shapes refer to onto, such as a clip path; it draws nothing.
  std::string& DefineOnto() { return out_; }
  // The document itself, to spell shapes in their colours onto, over what is drawn so far: the bars
  // and the text runs go there without a copy.
  std::string& DrawOnto() {
    drawn_ = true;
    return out_;
  }
  // Shapes filled in black that clear what is drawn so far where they lie.
  void Clear(std::string_view shapes);

  // Room for about this many more bytes, so that the document is not moved as it grows.
  void Reserve(std::size_t bytes) { out_.reserve(out_.size() + bytes); }

  // The whole document, closed.
  FileBytes Finish();

 private:
  std::string out_;
  std::size_t bodyStart_;
  Rect picture_;
  bool drawn_ = false;
  int masks_ = 0;
};

}  // namespace varnel
