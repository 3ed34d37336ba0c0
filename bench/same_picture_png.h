// PNG files of one picture by both sides: zint draws its raster picture of a workload, and the
// library encodes that very picture, so that the two files' sizes compare the encoders alone (the
// pictures the two sides draw for a workload differ in scale, quiet zones and text).
#pragma once

#include <string>

#include "zint_workloads.h"

namespace varnel::bench {

struct SamePictureBytes {
  long ours;      // the library's PNG file
  long zint;      // zint's PNG file
  long oursData;  // the image data alone (the IDAT chunks' data)
  long zintData;
};

// Both files of zint's raster picture of the label, zint's written as `folder`/zint-same.png and
// removed; fails the benchmark unless libpng decodes the two files to the same pixels.
SamePictureBytes SamePicturePng(ZintLabel& label, const std::string& folder);

}  // namespace varnel::bench
