// How long a picture takes: the default Code 39 with its text, rendered onto a fresh surface and
// encoded in memory as each output's file (no file is written). The render alone is timed too, so
// that each encoder's share can be read off.
#include <benchmark/benchmark.h>

#include "api/settings.h"
#include "output/render_to_surface.h"
#include "platform/bmp_file.h"
#include "platform/emf_file.h"
#include "platform/screen.h"
#include "platform/wmf_file.h"
#include "varnel32.h"

namespace varnel {
namespace {

// The defaults (data "1234", 300 x 200, text on) as Code 39.
void UseDefaultCode39() {
  VnSetDefault();
  VnBasicInfo(kCode39, 0.07, 2.0, 0, 0);
}

void BM_Render(benchmark::State& loop) {
  UseDefaultCode39();
  for (auto _ : loop) benchmark::DoNotOptimize(RenderToSurface());
}
BENCHMARK(BM_Render);

void BM_RenderBmp(benchmark::State& loop) {
  UseDefaultCode39();
  for (auto _ : loop)
    benchmark::DoNotOptimize(
        EncodeOneBitBmp(RenderToSurface(), Palette{settings.barColor, settings.backColor}));
}
BENCHMARK(BM_RenderBmp);

void BM_RenderWmf(benchmark::State& loop) {
  UseDefaultCode39();
  for (auto _ : loop)
    benchmark::DoNotOptimize(EncodePlaceableWmf(RenderToSurface(), GetScreenResolution().x));
}
BENCHMARK(BM_RenderWmf);

void BM_RenderEmf(benchmark::State& loop) {
  UseDefaultCode39();
  for (auto _ : loop) benchmark::DoNotOptimize(EncodeEmf(RenderToSurface(), GetScreenResolution()));
}
BENCHMARK(BM_RenderEmf);

}  // namespace
}  // namespace varnel
