// The workloads the speed targets are measured on: what a label printer's host renders thousands of
// times in a row, at the defaults (300 x 200 pixels, 96 dpi).
#pragma once

namespace varnel::bench {

struct Workload {
  const char* name;
  void (*configure)(int orientation);
};

// EAN-13 590123412345 with text and the 5-digit add-on 52495; Code 128 "Code 128" with text;
// POSTNET 12345 with its check digit; and the defaults as Code 39 ("1234" with text).
extern const Workload kWorkloads[4];

}  // namespace varnel::bench
