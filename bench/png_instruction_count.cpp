// Counts the instructions of one PNG render in memory per workload and picture size, and prints each
// PNG's size, under callgrind:
//   valgrind --tool=callgrind --collect-atstart=no build/bench/varnel_png_instructions
// Each render starts with a setter call, as a host's next label does, so that VnRenderToMemory draws
// the picture again rather than handing back the one it kept. One dump per case, named
// "png <workload> <WxH>"; callgrind's total over the dump is divided by the renders.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "varnel32.h"
#include "workloads.h"

namespace {

constexpr int kRenders = 100;
constexpr varnel::bench::PictureSize kPictures[] = {varnel::bench::kDefaultPicture, {2000, 600}};

int Render(varnel::bench::PictureSize size, std::vector<unsigned char>& buffer) {
  VnSetSize(size.width, size.height);
  const int bytes = VnRenderToMemory(VN_FORMAT_PNG, buffer.data(), static_cast<int>(buffer.size()));
  if (bytes <= 0 || static_cast<std::size_t>(bytes) > buffer.size()) std::abort();
  return bytes;
}

}  // namespace

int main() {
  for (const auto size : kPictures) {
    for (const auto& workload : varnel::bench::kWorkloads) {
      workload.configure(0, size);
      std::vector<unsigned char> buffer(static_cast<std::size_t>(VnRenderToMemory(VN_FORMAT_PNG, nullptr, 0)));
      const int bytes = Render(size, buffer);  // also warms the font cache
      const std::string label = std::string("png ") + workload.name + " " + std::to_string(size.width) + "x" +
                                std::to_string(size.height);
      CALLGRIND_ZERO_STATS;
      CALLGRIND_TOGGLE_COLLECT;
      for (int i = 0; i < kRenders; ++i) Render(size, buffer);
      CALLGRIND_TOGGLE_COLLECT;
      CALLGRIND_DUMP_STATS_AT(label.c_str());
      std::printf("%s\t%d bytes\n", label.c_str(), bytes);
    }
  }
  std::printf("%d renders per case\n", kRenders);
  return 0;
}
