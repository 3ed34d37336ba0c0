// Contexts on several threads at once, through the public exports only. Eight threads, each with a
// context of its own, draw their symbologies at their own sizes, orientations, frames and fonts
// through every output, over and over for a few seconds, and every result must be the one the same
// render gave alone beforehand: the same file bytes and the same picture in memory after them, the
// same measure, the same last error. Any
// state that renders share unguarded shows here as a picture of another thread's, and, in the
// ThreadSanitizer tree, as a reported race that fails the run even when the bytes come out right.
//
// What the threads share by design is exercised as a host would: the font cache (every thread
// prints text, in its own face and height), the clipboard (every thread copies to it and reads it
// back) and the screen resolution, which a ninth thread switches between two settings: each picture
// must be what the render gave alone at one of them, laid out and sized on paper by that one alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "base/settings.h"
#include "support/file_outputs.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kThreads = 8;
constexpr auto kRunTime = std::chrono::seconds(3);
constexpr int kSettings[2][2] = {{100, 300}, {300, 100}};  // x and y, each a 3x error on paper
// A thread's failures are counted, and the first few described.
constexpr std::size_t kFailuresDescribed = 5;

struct Design {
  int symbology;
  std::string data;
  int width;
  int height;
  int orientation;
  int frame;
  const char* face;
  int fontHeight;
  int barRed;
};

using testing::kContextFileOutputs;

// What a job draws through: the file outputs by their place in kContextFileOutputs, then these.
constexpr int kFileOutputCount = static_cast<int>(std::size(kContextFileOutputs));
constexpr int kMeasure = kFileOutputCount;
constexpr int kClipboard = kFileOutputCount + 1;
constexpr int kOutputCount = kFileOutputCount + 2;

std::string NameOf(int output) {
  if (output == kMeasure) return "measure";
  if (output == kClipboard) return "clipboard";
  return kContextFileOutputs[output].name;
}

struct Job {
  Design design;
  int output;
};

// What one render gave the host.
struct Result {
  VnBool returned = 0;
  Bytes file;    // a file output's bytes
  Bytes memory;  // the same format's picture from the memory output, taken after the file
  int length = -1;
  int thickness = -1;
  std::string lastError;
};

// Each part as the render alone gave it at either setting: the resolution may change between the
// file and the picture in memory after it.
bool AsAloneAtEither(const Result& got, const Result& one, const Result& other) {
  const auto either = [&](auto part) { return part(got) == part(one) || part(got) == part(other); };
  return either(std::mem_fn(&Result::file)) && either(std::mem_fn(&Result::memory)) &&
         either([](const Result& r) { return std::tie(r.returned, r.length, r.thickness, r.lastError); });
}

// Data each thread's last symbology refuses, each with a message of its own, so that a last error
// that leaks from one context to another shows: GS1-128's is composed in its context's own buffer.
struct Refusal {
  int symbology;
  const char* data;
};
constexpr Refusal kRefusals[kThreads] = {
    {kEan13, "12345"},      {kJan8, "1234567"},     {kSscc18, "123"},         {kCode39, "lower case"},
    {kUpcE, "99999999999"}, {kEan8, "ABC"},         {kUpcA, "0360002914"},    {kGs1_128, "(01)09501101530004"},
};

// Thread t draws symbologies t, t + 8, t + 16 and so on (all of them among the eight), then its refusal;
// every thread in its own size, face, font height and bar colour, each symbology in another orientation.
std::vector<Design> DesignsOf(int thread) {
  std::vector<Design> designs;
  const auto add = [&](int symbology, const std::string& data) {
    const int index = static_cast<int>(designs.size());
    designs.push_back(Design{symbology, data, 260 + 40 * thread, 300 - 15 * thread, (thread + index) % 4, index % 3,
                             thread % 2 == 0 ? "Arial" : "Liberation Serif",
                             thread % 3 == 0 ? -(10 + thread) : 14 + 2 * thread, 20 * thread});
  };
  for (int symbology = thread; symbology < kSymbologyCount; symbology += kThreads)
    add(symbology, testing::SampleMessage(symbology));
  add(kRefusals[thread].symbology, kRefusals[thread].data);
  return designs;
}

std::vector<Job> JobsOf(int thread) {
  std::vector<Job> jobs;
  for (const Design& design : DesignsOf(thread)) {
    for (int output = 0; output < kOutputCount; ++output) jobs.push_back(Job{design, output});
  }
  return jobs;
}

// Settings are applied afresh for every job, so the setters run while other threads draw too.
void Apply(VnContext* context, const Design& d) {
  VnCtxSetDefault(context);
  VnCtxBasicInfo(context, d.symbology, 0.04, 2.5, d.orientation, d.frame);
  VnCtxSetSymbology(context, d.symbology);
  VnCtxSetSize(context, d.width, d.height);
  VnCtxSetMessage(context, d.data.c_str());
  VnCtxFontInfo(context, d.face, d.fontHeight);
  VnCtxTextInfo(context, 1, 1, 1);
  VnCtxSetBarColor(context, d.barRed, 0, 64);
}

Bytes ReadAndRemove(const std::string& path) {
  Bytes bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::remove(path.c_str());
  return bytes;
}

// Renders the job on the context. A file goes to `stem` plus the format's name and is read back
// and removed, so every save makes a new file. A clipboard copy leaves the clipboard's bytes to the
// caller: another thread may replace them at any moment.
Result Render(VnContext* context, const Job& job, const std::string& stem) {
  Apply(context, job.design);
  Result result;
  if (job.output == kMeasure) {
    result.returned = VnCtxMeasure(context, &result.length, &result.thickness);
  } else if (job.output == kClipboard) {
    result.returned = VnCtxCopyToClipboard(context);
  } else {
    const std::string path = stem + "." + kContextFileOutputs[job.output].name;
    result.returned = kContextFileOutputs[job.output].save(context, path.c_str());
    result.file = ReadAndRemove(path);
    // A host whose second call finds a picture of another size, at a resolution set in between, asks again.
    for (int tries = 0; tries < 100 && result.memory.empty(); ++tries)
      result.memory = testing::PictureInMemory(context, kContextFileOutputs[job.output].format).value_or(Bytes{});
  }
  result.lastError = VnCtxGetLastError(context);
  return result;
}

// The enhanced metafile on the clipboard; empty when it holds none or another holder has it open.
// Another thread may replace it between learning its size and copying it out: then try again.
Bytes ClipboardContent() {
  for (;;) {
    const int size = VnGetClipboardEMF(nullptr, 0);
    if (size <= 0) return {};
    Bytes bytes(static_cast<std::size_t>(size));
    if (VnGetClipboardEMF(bytes.data(), size) == size) return bytes;
  }
}

std::string Describe(int thread, const Job& job) {
  return "thread " + std::to_string(thread) + ", symbology " + std::to_string(job.design.symbology) + " \"" +
         job.design.data + "\", " + NameOf(job.output);
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-threads-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct Worker {
  std::vector<Job> jobs;
  std::vector<Result> expected[2];  // every job's, alone at each setting
  long renders = 0;
  long clipboardCopies = 0;     // copies that found the clipboard free
  long clipboardReads = 0;      // contents read back and checked
  long failures = 0;
  std::vector<std::string> described;

  void Fail(const std::string& what) {
    if (++failures <= static_cast<long>(kFailuresDescribed)) described.push_back(what);
  }
};

TEST(ContextsOnThreads, EveryRenderEqualsTheSameRenderDoneAlone) {
  TempFolder folder;

  // The references, one render at a time on this thread; and every metafile the clipboard may
  // hold during the run.
  std::vector<Worker> workers(kThreads);
  std::vector<Bytes> clipboardContents;
  VnContext* alone = VnCreateContext();
  ASSERT_NE(alone, nullptr);
  for (int t = 0; t < kThreads; ++t) {
    Worker& worker = workers[static_cast<std::size_t>(t)];
    worker.jobs = JobsOf(t);
    for (int s = 0; s < 2; ++s) {
      VnSetScreenResolution(kSettings[s][0], kSettings[s][1]);
      for (const Job& job : worker.jobs) {
        Result result = Render(alone, job, folder.File("alone"));
        // Refused data is drawn as its message, and only measuring it fails.
        const bool refused = job.design.data == kRefusals[t].data;
        ASSERT_EQ(result.returned, refused && job.output == kMeasure ? 0 : 1) << Describe(t, job);
        ASSERT_EQ(result.lastError.empty(), !refused) << Describe(t, job);
        if (job.output == kClipboard) clipboardContents.push_back(ClipboardContent());
        if (job.output < kFileOutputCount) {
          ASSERT_FALSE(result.file.empty()) << Describe(t, job);
        }
        worker.expected[s].push_back(std::move(result));
      }
    }
  }
  VnDestroyContext(alone);

  // Set before the threads are let go, and read only after.
  std::chrono::steady_clock::time_point deadline;
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Worker& worker = workers[static_cast<std::size_t>(t)];
      VnContext* context = VnCreateContext();
      if (context == nullptr) return worker.Fail("no context");
      const std::string stem = folder.File("thread-" + std::to_string(t));
      while (!go.load()) std::this_thread::yield();
      // Each thread starts at another point of its jobs, and goes through all of them at least once.
      const std::size_t count = worker.jobs.size();
      for (std::size_t n = 0; n < count || std::chrono::steady_clock::now() < deadline; ++n) {
        const std::size_t i = (n + static_cast<std::size_t>(t) * 5) % count;
        const Job& job = worker.jobs[i];
        const Result result = Render(context, job, stem);
        ++worker.renders;
        if (job.output != kClipboard) {
          if (!AsAloneAtEither(result, worker.expected[0][i], worker.expected[1][i]))
            worker.Fail(Describe(t, job) + ": not the render done alone");
          continue;
        }
        // The copy fails only when another thread has the clipboard open; the render is made first
        // all the same, and names its data's refusal as it did alone.
        if (result.lastError != worker.expected[0][i].lastError) worker.Fail(Describe(t, job) + ": last error");
        worker.clipboardCopies += result.returned;
        const Bytes content = ClipboardContent();
        if (content.empty()) continue;
        ++worker.clipboardReads;
        if (std::find(clipboardContents.begin(), clipboardContents.end(), content) == clipboardContents.end())
          worker.Fail(Describe(t, job) + ": the clipboard holds a metafile no render made");
      }
      VnDestroyContext(context);
    });
  }
  std::atomic<bool> drawing{true};
  std::thread switcher([&] { for (int s = 0; drawing; s ^= 1) VnSetScreenResolution(kSettings[s][0], kSettings[s][1]); });
  const auto start = std::chrono::steady_clock::now();
  deadline = start + kRunTime;
  go = true;
  for (std::thread& thread : threads) thread.join();
  drawing = false;
  switcher.join();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  long renders = 0, copies = 0, reads = 0;
  for (int t = 0; t < kThreads; ++t) {
    const Worker& worker = workers[static_cast<std::size_t>(t)];
    renders += worker.renders;
    copies += worker.clipboardCopies;
    reads += worker.clipboardReads;
    EXPECT_EQ(worker.failures, 0) << "thread " << t << " of " << worker.renders << " renders";
    for (const std::string& what : worker.described) ADD_FAILURE() << what;
  }
  // The clipboard's checks ran: copies went through and what they left was read back.
  EXPECT_GT(copies, 0);
  EXPECT_GT(reads, 0);
  std::printf("%ld renders on %d threads in %.1f s; %ld clipboard copies went through, %ld contents checked\n",
              renders, kThreads, seconds, copies, reads);
}

}  // namespace
}  // namespace varnel
