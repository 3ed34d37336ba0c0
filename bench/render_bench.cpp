// How many renders a second the speed workloads take, timed by Google Benchmark: each workload and
// orientation to a one-bit BMP, a WMF and an EMF in memory (no file), and to a BMP file through the
// exported VnSaveAsBMP; and the file's saving alone, which bounds what VnSaveAsBMP can reach: a
// replacement (flushed to the disk before and after its rename), and a new file's save with its
// removal (never flushed), in memory and on a disk; beside them, the floor of any program's new
// file: created, written and closed under its name, as a program writes that does not keep an old
// file whole (zint's fopen, fwrite and fclose).
// The seconds are the process's processor time, the system's work for the file included, so that
// other work on a shared machine does not count against the library; the wait for a disk's flush is
// not processor time, so the file benchmarks also report the real time. The renders write their
// file in $VARNEL_BENCH_DIR (scripts/bench.sh points it at a tmpfs), else in the system's temporary
// folder; the disk's figures need $VARNEL_BENCH_DISK_DIR.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "drawing/context.h"
#include "outputs/render_to_surface.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "platform/file_replace.h"
#include "platform/screen.h"
#include "writers/wmf_file.h"
#include "varnel32.h"
#include "workloads.h"

namespace varnel::bench {
namespace {

bool ToBmp() {
  const auto file = EncodeOneBitBmp(RenderToSurface(DefaultContext()), Palette{DefaultContext().settings.barColor, DefaultContext().settings.backColor});
  benchmark::DoNotOptimize(file);
  return file.has_value();
}

bool ToWmf() {
  const auto file = EncodePlaceableWmf(RenderToSurface(DefaultContext()), GetScreenResolution().x);
  benchmark::DoNotOptimize(file);
  return file.has_value();
}

bool ToEmf() {
  const auto file = EncodeEmf(RenderToSurface(DefaultContext()), GetScreenResolution());
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
  workload.configure(orientation, kDefaultPicture);
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

// What VnSaveAsBMP costs beyond the render: the same file saving, of a BMP made beforehand, into
// the folder that `variable` names.
enum class Saving { kReplacement, kNewFile, kBareNewFile };

// The bytes under the name in three calls, with no care for what a failure leaves.
bool CreateWriteClose(const char* path, const FileBytes& bytes) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return ::close(fd) == 0 && written;
}

void FileSavingAlone(benchmark::State& loop, const char* variable, Saving saving) {
  const char* folder = std::getenv(variable);
  if (folder == nullptr || *folder == '\0') {
    loop.SkipWithError((std::string("no folder in ") + variable).c_str());
    return;
  }
  const std::string path = std::string(folder) + "/varnel-bench-alone.bmp";
  kWorkloads[0].configure(0, kDefaultPicture);
  const auto file = EncodeOneBitBmp(RenderToSurface(DefaultContext()), Palette{DefaultContext().settings.barColor, DefaultContext().settings.backColor});
  if (saving == Saving::kReplacement && file) ReplaceFileContents(path.c_str(), file->data(), file->size());
  for (auto _ : loop) {
    const bool saved = file && (saving == Saving::kBareNewFile ? CreateWriteClose(path.c_str(), *file)
                                                               : ReplaceFileContents(path.c_str(), file->data(), file->size()));
    if (!saved) {
      loop.SkipWithError("the file could not be written");
      return;
    }
    if (saving != Saving::kReplacement) std::remove(path.c_str());
  }
  std::remove(path.c_str());
  loop.counters["renders/s"] = benchmark::Counter(static_cast<double>(loop.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(FileSavingAlone, replacement/memory, "VARNEL_BENCH_DIR", Saving::kReplacement);
BENCHMARK_CAPTURE(FileSavingAlone, new/memory, "VARNEL_BENCH_DIR", Saving::kNewFile);
BENCHMARK_CAPTURE(FileSavingAlone, bare-new/memory, "VARNEL_BENCH_DIR", Saving::kBareNewFile);
BENCHMARK_CAPTURE(FileSavingAlone, replacement/disk, "VARNEL_BENCH_DISK_DIR", Saving::kReplacement)->UseRealTime();
BENCHMARK_CAPTURE(FileSavingAlone, new/disk, "VARNEL_BENCH_DISK_DIR", Saving::kNewFile)->UseRealTime();

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
