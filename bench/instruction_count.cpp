// Counts the instructions of one render per workload, output and orientation under callgrind:
//   valgrind --tool=callgrind --collect-atstart=no build/bench/varnel_instructions
// Only the measured renders are collected (the font cache is warmed first), and callgrind's total
// is divided by the number of renders. Outside valgrind it runs the same loop uncounted.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "platform/screen.h"
#include "writers/wmf_file.h"
#include "workloads.h"

namespace {

constexpr int kRenders = 200;

using varnel::Surface;

void ToBmp() {
  auto file = varnel::EncodeOneBitBmp(varnel::RenderToSurface(varnel::DefaultContext()), varnel::Palette{varnel::DefaultContext().settings.barColor, varnel::DefaultContext().settings.backColor});
  if (!file) std::abort();
}
void ToWmf() {
  auto file = varnel::EncodePlaceableWmf(varnel::RenderToSurface(varnel::DefaultContext()), varnel::GetScreenResolution().x);
  if (!file) std::abort();
}
void ToEmf() {
  auto file = varnel::EncodeEmf(varnel::RenderToSurface(varnel::DefaultContext()), varnel::GetScreenResolution());
  if (!file) std::abort();
}

struct Output {
  const char* name;
  void (*render)();
};
constexpr Output kOutputs[] = {{"bmp", ToBmp}, {"wmf", ToWmf}, {"emf", ToEmf}};

}  // namespace

int main() {
  for (const auto& workload : varnel::bench::kWorkloads) {
    for (int orientation : {0, 1}) {
      for (const Output& output : kOutputs) {
        workload.configure(orientation, varnel::bench::kDefaultPicture);
        output.render();  // warms the font cache
        const std::string label = std::string(workload.name) + " " + output.name + " " + std::to_string(orientation * 90);
        CALLGRIND_ZERO_STATS;
        CALLGRIND_TOGGLE_COLLECT;
        for (int i = 0; i < kRenders; ++i) output.render();
        CALLGRIND_TOGGLE_COLLECT;
        CALLGRIND_DUMP_STATS_AT(label.c_str());
      }
    }
  }
  std::printf("%d renders per case\n", kRenders);
  return 0;
}
