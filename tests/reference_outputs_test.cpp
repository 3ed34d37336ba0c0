// Every output's bytes, for a fixed set of settings, held against references recorded from an earlier
// build: a change to the engine that is not meant to change any picture (moving code, restructuring
// state) must leave every byte of every format as it was. Only the exports are used, so the references
// hold for any build of the library behind them. At every one of these settings the memory output
// must also hand over the file's very bytes, or refuse what the file output refuses.
//
// tests/data/reference_outputs.txt keeps one line per case and format: the case's name, the format,
// the output's size in bytes and its 64-bit FNV-1a hash, or "refused" when the export returned 0.
// The same binary writes that file, instead of comparing, when VARNEL_WRITE_REFERENCES names it; from
// the repository's root:
//
//   VARNEL_WRITE_REFERENCES=tests/data/reference_outputs.txt build/tests/varnel_tests --gtest_filter='Reference*'
//
// Regenerate it only when an output is meant to change, and say in the commit which outputs change
// and why. A reference that breaks in the course of a refactoring is a bug in the refactoring.
//
// Text is measured and drawn through fontconfig and FreeType, so the references assume the fonts and
// the FreeType that scripts/setup.sh installs (Arial resolves to Liberation Sans).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <numeric>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "support/file_outputs.h"
#include "support/render_harness.h"
#include "support/symbology_samples.h"
#include "varnel32.h"

namespace varnel {
namespace {

// The tool's names, by symbology number.
constexpr const char* kSymbologyNames[] = {
    "codabar", "code11", "code128", "code39", "code39-ascii", "code93", "ean128",
    "ean13", "ean8", "itf", "isbn", "jan13", "jan8", "matrix2of5",
    "msi", "planet", "postnet", "sscc18", "ean128-ai01", "upc-a", "upc-e"};
constexpr int kSymbologyCount = static_cast<int>(std::size(kSymbologyNames));
constexpr const char* kOrientationNames[] = {"r0", "r90", "r180", "r270"};

std::uint64_t Fnv1a64(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3u;
  return hash;
}

// An output as its reference line records it.
std::string Fingerprint(VnBool saved, std::span<const std::uint8_t> bytes) {
  if (!saved) return "refused";
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a64(bytes)));
  return std::to_string(bytes.size()) + " " + hash;
}

// Everything the setters take. The starting values are VnSetDefault's, except a picture large enough
// for every sample symbol in every orientation, so that most cases draw whole symbols.
struct Options {
  int dpiX = 96, dpiY = 96;
  int width = 720, height = 720;
  std::string data;  // empty: the symbology's sample
  double narrowCm = 0.07, ratio = 2.0;
  int frame = 0;
  int showText = 1, addCheckDigit = 0, checkDigitInText = 0;
  int fontHeight = 24;
  int codabarStart = 0, codabarStop = 1;
  int upceSystem = 0;
  int addOnKind = 0;
  std::string addOnDigits;
  double addOnGapCm = 0.5;
  int bar[3] = {0, 0, 0}, back[3] = {255, 255, 255};
};

// Applies every option through the exports, from the defaults, so that no case inherits anything
// from the one before. The screen resolution is not among the defaults: it is set first, every time.
void Apply(const Options& o, int symbology, int orientation) {
  VnSetScreenResolution(o.dpiX, o.dpiY);
  VnSetDefault();
  VnSetSize(o.width, o.height);
  VnSetMessage(o.data.empty() ? testing::SampleMessage(symbology) : o.data.c_str());
  VnBasicInfo(symbology, o.narrowCm, o.ratio, orientation, o.frame);
  VnTextInfo(o.showText, o.addCheckDigit, o.checkDigitInText);
  VnFontInfo("Arial", o.fontHeight);
  VnCodaBarInfo(o.codabarStart, o.codabarStop);
  VnUPCESystem(o.upceSystem);
  VnSupplementInfo(o.addOnKind, o.addOnDigits.c_str(), o.addOnGapCm);
  VnSetBarColor(o.bar[0], o.bar[1], o.bar[2]);
  VnSetBackColor(o.back[0], o.back[1], o.back[2]);
}

// One change to the options, named as it appears in the case names.
struct Piece {
  std::string name;
  std::function<void(Options&)> change;
};

std::string Number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

Piece Size(int width, int height) {
  return {"size=" + std::to_string(width) + "x" + std::to_string(height),
          [=](Options& o) { o.width = width, o.height = height; }};
}
Piece Data(const std::string& data) {
  return {"data=" + data, [=](Options& o) { o.data = data; }};
}
Piece NoText() {
  return {"text=off", [](Options& o) { o.showText = 0; }};
}
Piece Check(bool inText) {
  return {inText ? "check=in-text" : "check=bars-only",
          [=](Options& o) { o.addCheckDigit = 1, o.checkDigitInText = inText ? 1 : 0; }};
}
Piece Frame(int style) {
  return {style == 1 ? "frame=dashed" : "frame=solid", [=](Options& o) { o.frame = style; }};
}
Piece Narrow(double cm, double ratio) {
  return {"narrow=" + Number(cm) + "cm,ratio=" + Number(ratio),
          [=](Options& o) { o.narrowCm = cm, o.ratio = ratio; }};
}
Piece FontHeight(int height) {
  return {"font-height=" + std::to_string(height), [=](Options& o) { o.fontHeight = height; }};
}
Piece Colours(int barR, int barG, int barB, int backR, int backG, int backB) {
  char name[40];
  std::snprintf(name, sizeof name, "colours=%02x%02x%02x-on-%02x%02x%02x", barR, barG, barB, backR, backG,
                backB);
  return {name, [=](Options& o) {
            o.bar[0] = barR, o.bar[1] = barG, o.bar[2] = barB;
            o.back[0] = backR, o.back[1] = backG, o.back[2] = backB;
          }};
}
Piece Resolution(int dpiX, int dpiY) {
  return {"dpi=" + std::to_string(dpiX) + "x" + std::to_string(dpiY),
          [=](Options& o) { o.dpiX = dpiX, o.dpiY = dpiY; }};
}
Piece AddOn(const std::string& digits, double gapCm) {
  return {"addon=" + digits + ",gap=" + Number(gapCm) + "cm", [=](Options& o) {
            o.addOnKind = digits.size() == 5 ? 2 : 1, o.addOnDigits = digits, o.addOnGapCm = gapCm;
          }};
}
Piece CodabarEnds(int start, int stop) {
  return {std::string("codabar=") + static_cast<char>('A' + start) + "..." + static_cast<char>('A' + stop),
          [=](Options& o) { o.codabarStart = start, o.codabarStop = stop; }};
}
Piece UpcESystem(int system) {
  return {"upce-system=" + std::to_string(system), [=](Options& o) { o.upceSystem = system; }};
}

std::vector<int> EverySymbology() {
  std::vector<int> symbologies(kSymbologyCount);
  std::iota(symbologies.begin(), symbologies.end(), 0);
  return symbologies;
}

// A set of pieces, drawn for each of some symbologies in all four orientations.
struct Variant {
  std::vector<Piece> pieces;
  std::vector<int> symbologies = EverySymbology();
};

// EAN-13, EAN-8, ISBN, JAN-13, JAN-8, UPC-A and UPC-E: the symbols that take an add-on.
const std::vector<int> kAddOnSymbologies = {7, 8, 10, 11, 12, 19, 20};

// Each variant reaches drawing paths the others do not; together about 800 cases, a few seconds.
std::vector<Variant> Variants() {
  return {
      {{}},  // the starting options alone
      {{NoText(), Frame(1)}},
      {{Check(true), Frame(2)}},
      {{Check(false), Colours(0x00, 0x33, 0x66, 0xFF, 0xFF, 0xEE), Narrow(0.04, 3)}},
      {{FontHeight(120)}},  // text taller than the bars and longer than most symbols
      {{FontHeight(-20)}},  // no room for text: the bars move down
      {{Size(120, 80)}},    // smaller than every symbol
      {{Resolution(150, 120), Size(1300, 1000)}},  // unequal, and far from the usual 96
      // Beyond what the BMP draws: the metafiles keep it as given. Glyphs this large take the longest
      // of all to draw, so two symbologies stand for the centred text and the digits beside the bars.
      {{FontHeight(3000)}, {3, 20}},
      {{AddOn("12", 0.5)}, kAddOnSymbologies},
      {{AddOn("52495", 0.3), NoText()}, kAddOnSymbologies},
      {{Data("40156"), CodabarEnds(2, 3)}, {0}},
      {{Data("14210000526"), UpcESystem(1)}, {20}},
      // Refused data: the picture shows the message instead. Codabar, EAN-13, Interleaved 2 of 5 and
      // SSCC-18 refuse "?" with four different messages; EAN-13 refuses the add-on's letter.
      {{Data("?")}, {0, 7, 9, 17}},
      {{AddOn("1x", 0.5)}, {7}},
      {{Size(40000, 300)}, {2}},  // past the WMF's 16-bit coordinates: refused by it alone
  };
}

struct Case {
  std::string name;
  Options options;
  int symbology;
  int orientation;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (const Variant& variant : Variants()) {
    Options options;
    std::string name;
    for (const Piece& piece : variant.pieces) {
      piece.change(options);
      name += (name.empty() ? "" : "+") + piece.name;
    }
    for (const int symbology : variant.symbologies) {
      for (int orientation = 0; orientation < 4; ++orientation) {
        const std::string prefix = std::string(kSymbologyNames[symbology]) + "/" + kOrientationNames[orientation];
        cases.push_back({prefix + "/" + (name.empty() ? "plain" : name), options, symbology, orientation});
      }
    }
  }
  return cases;
}

// "<case> <format>" to what its line records after them, in the order rendered.
using Outputs = std::vector<std::pair<std::string, std::string>>;

// Where the memory output's picture is not the file's, "<case> <format>: how".
using MemoryDifferences = std::vector<std::string>;

Outputs Render(const Case& c, const testing::TempDir& folder, MemoryDifferences& memoryDifferences) {
  Apply(c.options, c.symbology, c.orientation);
  Outputs outputs;
  for (const testing::FileOutput& output : testing::kFileOutputs) {
    // A new file each time: replacing one would flush it to the disk, which is most of a save's time.
    const std::string path = folder.File(std::string("output.") + output.name);
    const VnBool saved = output.save(path.c_str());
    const std::vector<std::uint8_t> file = testing::ReadFileBytes(path);
    outputs.emplace_back(c.name + " " + output.name, Fingerprint(saved, file));
    std::filesystem::remove(path);
    const auto memory = testing::PictureInMemory(output.format);
    if (memory.has_value() != (saved == 1)) {
      memoryDifferences.push_back(c.name + " " + output.name + (saved ? ": refused in memory" : ": not refused in memory"));
    } else if (memory && *memory != file) {
      memoryDifferences.push_back(c.name + " " + output.name + ": other bytes in memory");
    }
  }
  const VnBool copied = VnCopyToClipboard();
  std::vector<std::uint8_t> clipboard(static_cast<std::size_t>(VnGetClipboardEMF(nullptr, 0)));
  VnGetClipboardEMF(clipboard.data(), static_cast<int>(clipboard.size()));
  outputs.emplace_back(c.name + " clipboard", Fingerprint(copied, clipboard));
  return outputs;
}

std::map<std::string, std::string> ReadReferences(const std::string& path) {
  std::map<std::string, std::string> references;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, format, recorded;
    fields >> name >> format >> std::ws;
    std::getline(fields, recorded);
    references[name + " " + format] = recorded;
  }
  return references;
}

void WriteReferences(const std::string& path, const Outputs& outputs) {
  std::ofstream file(path);
  file << "# Reference outputs for tests/reference_outputs_test.cpp, which says how to regenerate them.\n"
          "# case format bytes fnv1a-64 (or: case format refused)\n";
  for (const auto& [key, recorded] : outputs) file << key << " " << recorded << "\n";
  ASSERT_TRUE(file.flush()) << "cannot write " << path;
}

class ReferenceOutputs : public ::testing::Test {
 protected:
  // The suites that follow expect the defaults at 96 pixels per inch, which VnSetDefault leaves alone.
  void TearDown() override {
    VnSetScreenResolution(96, 96);
    VnSetDefault();
  }
};

TEST_F(ReferenceOutputs, EveryOutputKeepsItsBytes) {
  const testing::TempDir folder;
  Outputs outputs;
  MemoryDifferences memoryDifferences;
  for (const Case& c : Cases()) {
    for (auto& output : Render(c, folder, memoryDifferences)) outputs.push_back(std::move(output));
  }
  EXPECT_TRUE(memoryDifferences.empty()) << memoryDifferences.size() << " memory outputs differ from their files, "
                                         << "the first: " << (memoryDifferences.empty() ? "" : memoryDifferences[0]);

  if (const char* target = std::getenv("VARNEL_WRITE_REFERENCES")) {
    WriteReferences(target, outputs);
    GTEST_SKIP() << "wrote " << outputs.size() << " references to " << target << "; nothing compared";
  }

  auto references = ReadReferences(VARNEL_REFERENCE_OUTPUTS);
  ASSERT_FALSE(references.empty()) << "no references in " << VARNEL_REFERENCE_OUTPUTS;
  std::vector<std::string> differences;
  for (const auto& [key, recorded] : outputs) {
    const auto reference = references.find(key);
    if (reference == references.end()) {
      differences.push_back(key + ": not in the references (now " + recorded + ")");
      continue;
    }
    if (reference->second != recorded) {
      differences.push_back(key + ": was " + reference->second + ", now " + recorded);
    }
    references.erase(reference);
  }
  for (const auto& [key, recorded] : references) differences.push_back(key + ": no longer rendered");

  constexpr std::size_t kShown = 100;
  std::string shown;
  for (std::size_t i = 0; i < differences.size() && i < kShown; ++i) shown += "\n  " + differences[i];
  if (!differences.empty()) {
    ADD_FAILURE() << differences.size() << " of " << outputs.size() << " outputs differ from "
                  << VARNEL_REFERENCE_OUTPUTS << (differences.size() > kShown ? " (the first shown)" : "") << ":"
                  << shown;
  }
}

}  // namespace
}  // namespace varnel
