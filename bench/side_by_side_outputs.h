// The outputs the side-by-side benchmark compares: for each, one render of a label by the library
// and one by zint's nearest equivalent, and the target for the ratio of their processor times.
#pragma once

#include <string>
#include <vector>

#include "workloads.h"
#include "zint_workloads.h"

namespace varnel::bench {

// The library's side: the default context, set to a workload.
struct OurLabel {
  PictureSize size;
  std::vector<unsigned char> buffer;  // takes any of the workload's pictures in memory
};

OurLabel MakeOurLabel(const Workload& workload, PictureSize size);

enum class Destination { kNewFile, kReplacedFile, kMemory };

struct Comparison {
  std::string key;  // names it in the benchmark's output, e.g. "bmp/new"
  std::string title;
  Destination destination;
  const char* ourExtension;  // of a file's name; zint chooses its file's format by it
  const char* zintExtension;
  double target;  // the most that our time over zint's may be; 0 for none
  bool (*ours)(OurLabel& label, const char* path);
  bool (*zint)(ZintLabel& label, const char* path);
};

// Every file format saved as a new file and as a replacement, then the pictures in memory.
std::vector<Comparison> Comparisons();

}  // namespace varnel::bench
