// How many renders a second the speed workloads take, timed by Google Benchmark: each workload and
// orientation to a one-bit BMP, a WMF and an EMF in memory (no file), and to a BMP file through the
// exported VnSaveAsBMP; and that file's replacement alone, which bounds what VnSaveAsBMP can reach.
// The seconds are the process's processor time, the system's work for the file included, so that
// other work on a shared machine does not count against the library. The file is written in
// $VARNEL_BENCH_DIR (scripts/bench.sh points it at a tmpfs), else in the system's temporary folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "api/settings.h"
#include "output/render_to_surface.h"
#include "platform/bmp_file.h"
#include "platform/emf_file.h"
#include "platform/file_replace.h"
#include "platform/screen.h"
#include "platform/wmf_file.h"
#include "varnel32.h"
#include "workloads.h"

namespace varnel::bench {
namespace {

bool ToBmp() {
  const auto file = EncodeOneBitBmp(RenderToSurface(), Palette{settings.barColor, settings.backColor});
  benchmark::DoNotOptimize(file);
  return file.has_value();
}

bool ToWmf() {
  const auto file = EncodePlaceableWmf(RenderToSurface(), GetScreenResolution().x);
  benchmark::DoNotOptimize(file);
  return file.has_value();
}

bool ToEmf() {
  const auto file = EncodeEmf(RenderToSurface(), GetScreenResolution());
  benchmark::DoNotOptimize(file);
  return file.has_value();
}

const std::string& BmpFilePath() {
  static const std::string path = [] {
    const char* folder = std::getenv("VARNEL_BENCH_DIR");
    if (folder == nullptr || *folder == '\0') folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/varnel-bench.bmp";
  }();
  return path;
}

bool SaveAsBmpFile() { return VnSaveAsBMP(BmpFilePath().c_str()) == 1; }

struct Output {
  const char* name;
  bool (*render)();
};
constexpr Output kOutputs[] = {{"bmp", ToBmp}, {"wmf", ToWmf}, {"emf", ToEmf}, {"VnSaveAsBMP", SaveAsBmpFile}};

void Renders(benchmark::State& loop, const Workload& workload, int orientation, const Output& output) {
  workload.configure(orientation);
  if (!output.render()) {  // the first also fills the font cache
    loop.SkipWithError("the picture could not be made");
    return;
  }
  for (auto _ : loop) {
    if (!output.render()) {
      loop.SkipWithError("the picture could not be made");
      return;
    }
  }
  loop.counters["renders/s"] = benchmark::Counter(static_cast<double>(loop.iterations()), benchmark::Counter::kIsRate);
}

// What VnSaveAsBMP costs beyond the render: the same file replacement, of a BMP made beforehand.
void FileReplacementAlone(benchmark::State& loop) {
  kWorkloads[0].configure(0);
  const auto file = EncodeOneBitBmp(RenderToSurface(), Palette{settings.barColor, settings.backColor});
  for (auto _ : loop) {
    if (!file || !ReplaceFileContents(BmpFilePath().c_str(), file->data(), file->size())) {
      loop.SkipWithError("the file could not be written");
      return;
    }
  }
  loop.counters["renders/s"] = benchmark::Counter(static_cast<double>(loop.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(FileReplacementAlone);

// Named output/workload/degrees, e.g. "emf/code128/90".
const bool registered = [] {
  for (const Workload& workload : kWorkloads) {
    for (const int orientation : {0, 1}) {
      for (const Output& output : kOutputs) {
        const std::string name =
            std::string(output.name) + "/" + workload.name + "/" + std::to_string(orientation * 90);
        benchmark::RegisterBenchmark(name.c_str(), Renders, workload, orientation, output);
      }
    }
  }
  return true;
}();

}  // namespace
}  // namespace varnel::bench
