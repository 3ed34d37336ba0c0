// The first render after the library is loaded, with its font cache still cold (no font file read,
// no glyph drawn yet): how long the first VnSaveAsBMP of a fresh process takes, for the EAN-13
// workload, in milliseconds. scripts/bench.sh runs it several times and reports the median.
//   varnel_first_render <file.bmp>
#include <chrono>
#include <cstdio>

#include "varnel32.h"
#include "workloads.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.bmp>\n", argv[0]);
    return 2;
  }
  varnel::bench::kWorkloads[0].configure(0, varnel::bench::kDefaultPicture);
  const auto start = std::chrono::steady_clock::now();
  const bool saved = VnSaveAsBMP(argv[1]) == 1;
  const std::chrono::duration<double, std::milli> taken = std::chrono::steady_clock::now() - start;
  if (!saved) {
    std::fprintf(stderr, "the picture could not be saved\n");
    return 1;
  }
  std::printf("%.3f\n", taken.count());
  return 0;
}
