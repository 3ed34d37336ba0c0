// The library against zint, output by output, on the speed workloads in pictures of 300 x 200 and
// 2000 x 600 pixels. For each output, workload and size the two sides render blocks of labels in
// turn, the one first and then the other, so that the machine's drift falls on both alike, and each
// block is timed by the thread's processor time: the system's work for the files counts, other
// processes' does not. Files go into the given folder (scripts/bench.sh gives it a tmpfs); a new
// file gets a name no file has, and the block's files are removed after it, untimed.
//   varnel_side_by_side <folder>
// prints, one a line and tab-separated:
//   comparison <key> <target> <title>          each output compared, first (target 0: none)
//   picture <workload> <WxH> <zint's WxH>       the size zint's raster picture came to
//   time <key> <workload> <WxH> <ours> <zint> <ratio>
//                                               median nanoseconds a render of each side, and the
//                                               median of the blocks' ratios, ours over zint's
//   bytes <key> <workload> <WxH> <ours> <zint>  each new file's size
//   same-png <workload> <WxH> <ours> <zint> <ours' image data> <zint's>
//                                               the bytes of the two PNG files of zint's own
//                                               picture, whole and of their image data alone
//   varnel_side_by_side --png-bytes <folder>
// prints the picture and same-png lines alone.
//   varnel_side_by_side --instructions <folder>
// renders a few labels by each side of every comparison for callgrind (run it with
// --collect-atstart=no), one dump each named "<side> <key> <workload> <WxH>", and prints how many.
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "same_picture_png.h"
#include "side_by_side_outputs.h"
#include "workloads.h"
#include "zint_workloads.h"

namespace varnel::bench {
namespace {

constexpr PictureSize kPictures[] = {kDefaultPicture, {2000, 600}};
constexpr int kRounds = 15;
// A block lasts about this long on the slower side, so that reading the clock does not count.
constexpr double kBlockSeconds = 0.005;
constexpr int kLeastRenders = 3;
constexpr int kCountedRenders = 10;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "varnel_side_by_side: %s\n", what.c_str());
  std::exit(1);
}

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string SizeName(PictureSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

// One side of a comparison, set to a workload: its render, and the files a block of renders writes.
struct Side {
  const char* name;
  std::function<bool(const char* path)> render;
  std::string pathStem;   // the folder and the side's name
  std::string extension;  // with its dot; none in memory
  Destination destination;

  // A new name for each render of a block of new files; else one name for every render: the file
  // that replacements replace, which the first render makes (memory outputs ignore it).
  std::vector<std::string> Paths(int renders) const {
    std::vector<std::string> paths;
    for (int i = 0; i < renders; ++i) {
      paths.push_back(destination == Destination::kNewFile ? pathStem + "-" + std::to_string(i) + extension
                                                            : pathStem + extension);
    }
    return paths;
  }

  void Render(const std::vector<std::string>& paths) const {
    for (const std::string& path : paths) {
      if (!render(path.c_str())) Fail(std::string(name) + " could not render " + path);
    }
  }

  void RemoveNewFiles(const std::vector<std::string>& paths) const {
    if (destination == Destination::kNewFile) {
      for (const std::string& path : paths) unlink(path.c_str());
    }
  }

  // The file that replacements replaced, once the comparison is over.
  void RemoveReplacedFile() const {
    if (destination == Destination::kReplacedFile) unlink((pathStem + extension).c_str());
  }

  // Processor seconds a render, over a block of `renders`.
  double TimedBlock(int renders) const {
    const auto paths = Paths(renders);
    const double start = ThreadSeconds();
    Render(paths);
    const double seconds = (ThreadSeconds() - start) / renders;
    RemoveNewFiles(paths);
    return seconds;
  }

  long FileBytes() const {
    const auto paths = Paths(1);
    Render(paths);
    struct stat file {};
    const long bytes = stat(paths[0].c_str(), &file) == 0 ? static_cast<long>(file.st_size) : -1;
    RemoveNewFiles(paths);
    return bytes;
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Time(const std::string& label, const Side& ours, const Side& zint) {
  ours.TimedBlock(1);  // the first renders fill the font cache and make the files a replacement replaces
  zint.TimedBlock(1);
  const double slower = std::max(ours.TimedBlock(kLeastRenders), zint.TimedBlock(kLeastRenders));
  const int renders = std::max(kLeastRenders, static_cast<int>(kBlockSeconds / slower));
  std::vector<double> ourSeconds, zintSeconds, ratios;
  for (int round = 0; round < kRounds; ++round) {
    const bool oursFirst = round % 2 == 0;
    const double first = (oursFirst ? ours : zint).TimedBlock(renders);
    const double second = (oursFirst ? zint : ours).TimedBlock(renders);
    ourSeconds.push_back(oursFirst ? first : second);
    zintSeconds.push_back(oursFirst ? second : first);
    ratios.push_back(ourSeconds.back() / zintSeconds.back());
  }
  std::printf("time\t%s\t%.0f\t%.0f\t%.4f\n", label.c_str(), Median(ourSeconds) * 1e9, Median(zintSeconds) * 1e9,
              Median(ratios));
}

void CountInstructions(const std::string& label, const Side& side) {
  side.TimedBlock(1);  // as in Time, uncounted
  const auto paths = side.Paths(kCountedRenders);
  CALLGRIND_ZERO_STATS;
  CALLGRIND_TOGGLE_COLLECT;
  side.Render(paths);
  CALLGRIND_TOGGLE_COLLECT;
  const std::string dump = std::string(side.name) + "\t" + label;  // named: the request takes its address
  CALLGRIND_DUMP_STATS_AT(dump.c_str());
  side.RemoveNewFiles(paths);
}

enum class Mode { kTimes, kInstructions, kPngBytes };

int Run(Mode mode, const std::string& folder) {
  const bool countingInstructions = mode == Mode::kInstructions;
  const auto comparisons = mode == Mode::kPngBytes ? std::vector<Comparison>{} : Comparisons();
  if (!countingInstructions) {
    for (const Comparison& comparison : comparisons) {
      std::printf("comparison\t%s\t%g\t%s\n", comparison.key.c_str(), comparison.target, comparison.title.c_str());
    }
  }
  for (const PictureSize size : kPictures) {
    for (std::size_t w = 0; w < std::size(kWorkloads); ++w) {
      const Workload& workload = kWorkloads[w];
      if (std::strcmp(workload.name, kZintWorkloads[w].name) != 0) Fail("the two lists of workloads differ");
      OurLabel ourLabel = MakeOurLabel(workload, size);
      ZintLabel zintLabel = MakeZintLabel(kZintWorkloads[w], size);
      if (!zintLabel.symbol) Fail(std::string("zint refuses ") + workload.name);
      const std::string where = std::string(workload.name) + "\t" + SizeName(size);
      if (!countingInstructions) {
        std::printf("picture\t%s\t%s\n", where.c_str(), SizeName(zintLabel.picture).c_str());
        const SamePictureBytes same = SamePicturePng(zintLabel, folder);
        std::printf("same-png\t%s\t%ld\t%ld\t%ld\t%ld\n", where.c_str(), same.ours, same.zint, same.oursData,
                    same.zintData);
      }
      for (const Comparison& comparison : comparisons) {
        const bool inFile = comparison.destination != Destination::kMemory;
        const Side ours{"ours", [&](const char* path) { return comparison.ours(ourLabel, path); },
                        folder + "/ours", inFile ? std::string(".") + comparison.ourExtension : "",
                        comparison.destination};
        const Side zint{"zint", [&](const char* path) { return comparison.zint(zintLabel, path); },
                        folder + "/zint", inFile ? std::string(".") + comparison.zintExtension : "",
                        comparison.destination};
        const std::string label = comparison.key + "\t" + where;
        if (countingInstructions) {
          CountInstructions(label, ours);
          CountInstructions(label, zint);
        } else {
          Time(label, ours, zint);
          if (comparison.destination == Destination::kNewFile) {
            std::printf("bytes\t%s\t%ld\t%ld\n", label.c_str(), ours.FileBytes(), zint.FileBytes());
          }
        }
        ours.RemoveReplacedFile();
        zint.RemoveReplacedFile();
      }
    }
  }
  if (countingInstructions) std::printf("%d renders per dump\n", kCountedRenders);
  return 0;
}

}  // namespace
}  // namespace varnel::bench

int main(int argc, char** argv) {
  using varnel::bench::Mode;
  const Mode mode = argc != 3                                      ? Mode::kTimes
                    : std::strcmp(argv[1], "--instructions") == 0 ? Mode::kInstructions
                    : std::strcmp(argv[1], "--png-bytes") == 0    ? Mode::kPngBytes
                                                                   : Mode::kTimes;
  if (argc != 2 && (argc != 3 || mode == Mode::kTimes)) {
    std::fprintf(stderr, "usage: %s [--instructions | --png-bytes] <folder>\n", argv[0]);
    return 2;
  }
  return varnel::bench::Run(mode, argv[argc - 1]);
}
