// Renders sample barcodes into a folder, through the library's public interface only.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "varnel32.h"

namespace {

struct Sample {
  const char* name;
  int symbology;
  const char* data;
  int orientation;
  int addCheckDigit;
};

constexpr Sample kSamples[] = {
    {"code39", 3, "VARNEL-32", 0, 0},
    {"code39-check", 3, "CODE39", 0, 1},
    {"code39-90", 3, "ABC-123", 1, 0},
    {"code39-full-ascii", 4, "Varnel32 a+b", 0, 0},
    {"code39-full-ascii-180", 4, "lower case", 2, 1},
};

struct Output {
  const char* extension;
  VnBool (*save)(const char* path);
};

constexpr Output kOutputs[] = {{".bmp", VnSaveAsBMP}, {".wmf", VnSaveAsWMF}, {".emf", VnSaveAsEMF}};

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "samples";
  ::mkdir(folder.c_str(), 0777);
  int failures = 0;
  for (const Sample& sample : kSamples) {
    VnSetDefault();
    VnSetSize(480, 200);
    VnBasicInfo(sample.symbology, 0.05, 2.5, sample.orientation, 0);
    if (sample.orientation % 2 != 0) VnSetSize(200, 480);
    VnTextInfo(1, sample.addCheckDigit, sample.addCheckDigit);
    VnSetMessage(sample.data);
    for (const Output& output : kOutputs) {
      const std::string path = folder + "/" + sample.name + output.extension;
      if (output.save(path.c_str())) {
        std::printf("wrote %s\n", path.c_str());
      } else {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        ++failures;
      }
    }
  }
  std::printf("Samples are in %s/\n", folder.c_str());
  return failures == 0 ? 0 : 1;
}
