// The resident memory of a process that renders 100,000 barcodes: the speed workloads in turn,
// upright and turned, saved through the exports as BMP, WMF and EMF files in the given folder. It
// prints the peak resident set (VmHWM) in kilobytes.
//   varnel_peak_memory <folder>
#include <cstdio>
#include <fstream>
#include <string>

#include "varnel32.h"
#include "workloads.h"

namespace {

constexpr int kRenders = 100000;

long PeakResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::string bmp = folder + "/peak.bmp", wmf = folder + "/peak.wmf", emf = folder + "/peak.emf";
  for (int i = 0; i < kRenders; ++i) {
    const auto& workload = varnel::bench::kWorkloads[i % 3];
    workload.configure(i / 3 % 2, varnel::bench::kDefaultPicture);
    const bool saved = i % 5 == 3   ? VnSaveAsWMF(wmf.c_str()) == 1
                       : i % 5 == 4 ? VnSaveAsEMF(emf.c_str()) == 1
                                    : VnSaveAsBMP(bmp.c_str()) == 1;
    if (!saved) {
      std::fprintf(stderr, "render %d (%s) could not be saved\n", i, workload.name);
      return 1;
    }
  }
  std::printf("%ld\n", PeakResidentKilobytes());
  return 0;
}
