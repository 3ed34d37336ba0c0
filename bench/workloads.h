// The workloads the speed targets are measured on: what a label printer's host renders thousands of
// times in a row, at the defaults (300 x 200 pixels, 96 dpi) or in a larger picture.
#pragma once

namespace varnel::bench {

struct PictureSize {
  int width;
  int height;
};
inline constexpr PictureSize kDefaultPicture{300, 200};

struct Workload {
  const char* name;
  // Sets the default context to the workload, turned by `orientation`, in a picture of `size`. The
  // symbol and its text grow with the picture: its narrow width and add-on gap as its width grows
  // from the defaults', its bars and font as its height does.
  void (*configure)(int orientation, PictureSize size);
};

// EAN-13 590123412345 with text and the 5-digit add-on 52495; Code 128 "Code 128" with text;
// POSTNET 12345 with its check digit; and the defaults as Code 39 ("1234" with text).
extern const Workload kWorkloads[4];

}  // namespace varnel::bench
