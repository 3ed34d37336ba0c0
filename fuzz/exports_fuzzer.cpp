// The library as a host sees it: a random sequence of setter calls with any arguments, then a
// measure and one output (BMP, WMF, EMF, SVG, PNG or the clipboard) into a temporary folder. Beyond
// the sanitizers' own checks, every output must keep its promise: a success is a whole, well-formed
// file; a failure leaves the folder exactly as it was. The measure must validate as the output does,
// and the memory output must hand over the file's bytes, or refuse what the file output refused,
// writing nothing into a buffer too small and nothing past the picture.
//
// Input: a mode byte, then setter calls (a byte picks the setter, its arguments follow) until the
// byte that picks the output, then where the output goes. The setters added after the outputs (the
// bar height, the transparent background) are picked by the bytes after the outputs', so that the
// seeds keep their meaning. In the everyday mode picture sizes are
// brought below kSizeCap so that one input cannot ask for gigabytes of raster; in the huge mode
// sizes reach the exports as they are, and the raster outputs (BMP, PNG) are asked only for
// pictures they must refuse, the others for any.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"
#include "drawing/context.h"
#include "fuzz_input.h"
#include "writers/bmp_file.h"
#include "writers/emf_file.h"
#include "writers/placeable_header.h"
#include "writers/png_file.h"
#include "platform/screen.h"
#include "writers/wmf_file.h"
#include "varnel32.h"

namespace {

using varnel::fuzz::FuzzInput;
using varnel::fuzz::PointerTo;

constexpr int kSizeCap = 4096;
constexpr int kMaxCalls = 32;

// Fails the run as a crash would, with the reason.
void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

// Keeps the sign, so that zero and negative sizes still reach the setter.
int Capped(int size) { return size % kSizeCap; }

void CallSetter(FuzzInput& in, int setter, bool hugeSizes) {
  switch (setter) {
    case 0: VnSetDefault(); break;
    case 1: {
      const int width = in.Int(), height = in.Int();
      VnSetSize(hugeSizes ? width : Capped(width), hugeSizes ? height : Capped(height));
      break;
    }
    case 2: VnSetMessage(PointerTo(in.Text())); break;
    case 3: {
      const auto face = in.Text();
      VnFontInfo(PointerTo(face), in.Int());
      break;
    }
    case 4: {
      const int show = in.Int(), add = in.Int(), inText = in.Int();
      VnTextInfo(show, add, inText);
      break;
    }
    case 5: {
      const int start = in.Int(), stop = in.Int();
      VnCodaBarInfo(start, stop);
      break;
    }
    case 6: VnUPCESystem(in.Int()); break;
    case 7: {
      const int kind = in.Int();
      const auto digits = in.Text();
      VnSupplementInfo(kind, PointerTo(digits), in.Double());
      break;
    }
    case 8: {
      // Mostly a symbology that exists, so that the encoders are reached.
      const int symbology = in.Choice(4) != 0 ? in.Choice(varnel::kSymbologyCount) : in.Int();
      const double narrow = in.Double(), ratio = in.Double();
      const int orientation = in.Int(), frame = in.Int();
      VnBasicInfo(symbology, narrow, ratio, orientation, frame);
      VnSetSymbology(symbology);  // the numbers VnBasicInfo does not take
      break;
    }
    case 9: {
      const int r = in.Int(), g = in.Int(), b = in.Int();
      VnSetBackColor(r, g, b);
      break;
    }
    case 10: {
      const int r = in.Int(), g = in.Int(), b = in.Int();
      VnSetBarColor(r, g, b);
      break;
    }
    case 11: {
      const int x = in.Int(), y = in.Int();
      VnSetScreenResolution(x, y);
      break;
    }
    case 12: VnSetBarHeight(in.Double()); break;
    default: VnSetTransparentBackground(in.Int()); break;
  }
}
// The setters picked before the outputs, and those picked after them.
constexpr int kSetterCount = 12;
constexpr int kLaterSetterCount = 2;

// ---- The temporary folder -------------------------------------------------------------------------

void RemoveFolder();

// One folder for the run, removed when the fuzzer exits normally (an input that crashes leaves it,
// with what the crash left in it).
const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/varnel-fuzz-XXXXXX";
    Require(mkdtemp(name) != nullptr, "a temporary folder");
    return std::string(name);
  }();
  // Registered once the name exists, so that the removal runs before the name is destroyed.
  static const int removal = std::atexit(RemoveFolder);
  static_cast<void>(removal);
  return folder;
}

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
}

std::vector<std::string> Entries() {
  std::vector<std::string> names;
  DIR* dir = opendir(Folder().c_str());
  Require(dir != nullptr, "the temporary folder stays readable");
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) names.emplace_back(entry->d_name);
  }
  closedir(dir);
  return names;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::uint8_t buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return bytes;
}

void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  Require(f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "writing the old file");
  std::fclose(f);
}

// Back to one old file and one subfolder, whatever the last input left.
void ResetFolder(const std::string& oldFile, const std::vector<std::uint8_t>& oldBytes, const std::string& subfolder) {
  for (const std::string& name : Entries()) {
    const std::string path = Folder() + "/" + name;
    if (path != subfolder) Require(unlink(path.c_str()) == 0, "clearing the temporary folder");
  }
  mkdir(subfolder.c_str(), 0755);
  WriteAll(oldFile, oldBytes);
}

// ---- What a written file must be ------------------------------------------------------------------

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t BigEndianU32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// Whether the file holds these bytes at `at`; text of any byte is compared as unsigned bytes.
bool HasAt(const std::vector<std::uint8_t>& file, std::size_t at, std::string_view bytes) {
  if (at > file.size() || file.size() - at < bytes.size()) return false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (file[at + i] != static_cast<std::uint8_t>(bytes[i])) return false;
  }
  return true;
}

bool EndsWith(const std::vector<std::uint8_t>& file, std::string_view bytes) {
  return file.size() >= bytes.size() && HasAt(file, file.size() - bytes.size(), bytes);
}

bool IsWholeBmp(const std::vector<std::uint8_t>& file) {
  return file.size() >= varnel::kBmpPixelOffset && file[0] == 'B' && file[1] == 'M' && U32(file, 2) == file.size() &&
         U32(file, 18) == static_cast<std::uint32_t>(varnel::DefaultContext().settings.width) &&
         U32(file, 22) == static_cast<std::uint32_t>(varnel::DefaultContext().settings.height);
}

bool IsWholeWmf(const std::vector<std::uint8_t>& file) {
  constexpr std::size_t kFileWordsAt = varnel::kPlaceableHeaderSize + 6;
  return file.size() >= varnel::kPlaceableHeaderSize + 18 && U32(file, 0) == varnel::kPlaceableKey &&
         std::size_t{U32(file, kFileWordsAt)} * 2 + varnel::kPlaceableHeaderSize == file.size();
}

bool IsWholeEmf(const std::vector<std::uint8_t>& file) {
  return file.size() >= 108 && U32(file, 0) == 1 && U32(file, 40) == varnel::kEmfSignature && U32(file, 48) == file.size();
}

// The signature, a header of the picture's size, and the closing chunk.
bool IsWholePng(const std::vector<std::uint8_t>& file) {
  return file.size() >= 24 + 12 && HasAt(file, 0, "\x89PNG\r\n\x1a\n") &&
         BigEndianU32(file, 16) == static_cast<std::uint32_t>(varnel::DefaultContext().settings.width) &&
         BigEndianU32(file, 20) == static_cast<std::uint32_t>(varnel::DefaultContext().settings.height) &&
         EndsWith(file, "IEND\xae\x42\x60\x82");
}

// XML from its declaration to the closing tag, in well-formed UTF-8 with no control character that
// XML forbids: the host's bytes, whatever they are, must not break the document.
bool IsWholeSvg(const std::vector<std::uint8_t>& file) {
  if (!HasAt(file, 0, "<?xml") || !EndsWith(file, "</svg>\n")) return false;
  for (std::size_t i = 0; i < file.size();) {
    const std::uint8_t lead = file[i];
    if (lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') return false;
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                : lead >= 0xF0 && lead <= 0xF4                          ? 4
                                                                                                        : 0;
    if (length == 0 || i + length > file.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((file[i + k] & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

int ScreenDpi() { return varnel::GetScreenResolution().x; }

struct FileOutput {
  const char* name;
  VnBool (*save)(const char*);
  int format;  // the memory output's number for it
  bool (*isWhole)(const std::vector<std::uint8_t>&);
  // Whether the format can hold a picture of the settings' size at all; one it cannot must be refused.
  bool (*canHold)(int width, int height);
  // Allocates the picture's pixels: in the huge mode it is asked only for a picture it must refuse.
  bool rasters;
  // May refuse an everyday picture (the WMF, for a font or resolution beyond its 16-bit fields).
  bool mayRefuseEveryday;
};

constexpr FileOutput kFileOutputs[] = {
    {"BMP", VnSaveAsBMP, VN_FORMAT_BMP, IsWholeBmp, varnel::OneBitBmpCanHold, true, false},
    {"WMF", VnSaveAsWMF, VN_FORMAT_WMF, IsWholeWmf,
     [](int w, int h) { return varnel::FitsPlaceableHeader(w, h, ScreenDpi()); }, false, true},
    {"EMF", VnSaveAsEMF, VN_FORMAT_EMF, IsWholeEmf, [](int, int) { return true; }, false, false},
    {"SVG", VnSaveAsSVG, VN_FORMAT_SVG, IsWholeSvg, [](int, int) { return true; }, false, false},
    {"PNG", VnSaveAsPNG, VN_FORMAT_PNG, IsWholePng, varnel::OneBitPngCanHold, true, false},
};
constexpr int kEmf = 2;
constexpr int kOutputCount = static_cast<int>(std::size(kFileOutputs)) + 1;  // and the clipboard

// The clipboard export, and copying its metafile out into buffers too small, just right and absurd.
void CopyThroughClipboard(FuzzInput& in, bool hugeSizes) {
  const VnBool copied = VnCopyToClipboard();
  const int needed = VnGetClipboardEMF(nullptr, 0);
  if (!hugeSizes) Require(copied != 0, "an everyday picture is copied");
  if (copied == 0) return;  // a refused picture; whatever was there before may stay
  Require(needed > 0, "a copied picture is on the clipboard");
  constexpr std::uint8_t kGuard = 0xA5;
  const int offered = in.Choice(4) == 0 ? in.Int() : needed - in.Choice(2);
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(needed) + 16, kGuard);
  Require(VnGetClipboardEMF(buffer.data(), offered) == needed, "the clipboard reports its metafile's size");
  const std::size_t copiedBytes = offered >= needed ? static_cast<std::size_t>(needed) : 0;
  for (std::size_t i = copiedBytes; i < buffer.size(); ++i)
    Require(buffer[i] == kGuard, "nothing is copied beyond the metafile, nor into a buffer too small");
  if (copiedBytes > 0) {
    buffer.resize(copiedBytes);
    Require(IsWholeEmf(buffer), "the clipboard holds a whole enhanced metafile");
  }
}

// The same picture from the memory output, asked for as a host asks: the size, a buffer one byte too
// small, then one with room to spare. It is the file's picture, and is refused where the file output
// refused a picture it could have written (a refusal for the path alone says nothing of it).
void TakeFromMemory(const FileOutput& output, VnBool saved, bool writable, const std::vector<std::uint8_t>& file) {
  const int needed = VnRenderToMemory(output.format, nullptr, 0);
  if (writable) Require((needed > 0) == (saved != 0), "the memory output refuses what the file output refuses");
  if (saved != 0) Require(needed > 0 && static_cast<std::size_t>(needed) == file.size(), "the file's size in memory");
  if (needed <= 0) return;
  constexpr std::uint8_t kGuard = 0x5A;
  constexpr std::size_t kRoom = 16;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(needed) + kRoom, kGuard);
  Require(VnRenderToMemory(output.format, buffer.data(), needed - 1) == needed, "the size, to a buffer too small");
  for (const std::uint8_t byte : buffer) Require(byte == kGuard, "nothing written into a buffer too small");
  Require(VnRenderToMemory(output.format, buffer.data(), needed + static_cast<int>(kRoom)) == needed,
          "the size, to a buffer with room");
  for (std::size_t i = static_cast<std::size_t>(needed); i < buffer.size(); ++i)
    Require(buffer[i] == kGuard, "nothing written past the picture");
  buffer.resize(static_cast<std::size_t>(needed));
  if (saved != 0) Require(buffer == file, "the memory output's bytes are the file's");
}

void SaveToFile(FuzzInput& in, const FileOutput& output, bool hugeSizes) {
  const std::string oldFile = Folder() + "/old", newFile = Folder() + "/new", subfolder = Folder() + "/sub";
  const std::vector<std::uint8_t> oldBytes = {'o', 'l', 'd'};
  ResetFolder(oldFile, oldBytes, subfolder);

  std::string path;
  const char* pathArgument = nullptr;
  switch (in.Choice(6)) {
    case 0: pathArgument = (path = oldFile).c_str(); break;
    case 1: pathArgument = (path = newFile).c_str(); break;
    case 2: pathArgument = (path = subfolder).c_str(); break;
    case 3: pathArgument = (path = Folder() + "/missing/new").c_str(); break;
    case 4: pathArgument = ""; break;
    default: break;  // NULL
  }
  const bool writable = path == oldFile || path == newFile;

  const VnBool result = output.save(pathArgument);
  if (!output.canHold(varnel::DefaultContext().settings.width, varnel::DefaultContext().settings.height))
    Require(result == 0, "a picture beyond the format's sizes is refused");
  if (!writable) Require(result == 0, "a path that names no writable file is refused");
  if (writable && !hugeSizes && !output.mayRefuseEveryday) Require(result != 0, "an everyday picture is written");
  const std::vector<std::string> entries = Entries();
  const std::vector<std::uint8_t> file = result != 0 ? ReadAll(path) : std::vector<std::uint8_t>{};
  if (result != 0) {
    Require(output.isWhole(file), "a success writes a whole file");
    Require(entries.size() == (path == newFile ? 3u : 2u), "a success leaves no temporary file");
  } else {
    Require(entries.size() == 2, "a failure leaves no file behind");
    Require(ReadAll(oldFile) == oldBytes, "a failure keeps the old file");
  }
  TakeFromMemory(output, result, writable, file);
}

// The measure takes no input of its own, so that every seed still reaches the output it was written
// for. Refused data has no sizes, and its message is the one VnGetLastError gives.
const char* MeasuredRefusal() {
  int length = -1, thickness = -1;
  const VnBool drawn = VnMeasure(&length, &thickness);
  const char* refusal = VnGetLastError();
  Require((drawn != 0) == (refusal[0] == '\0'), "the measure refuses exactly the data it names a message for");
  if (drawn == 0) Require(length == 0 && thickness == 0, "refused data has no sizes");
  return refusal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const bool hugeSizes = (in.Byte() & 1) != 0;
  VnSetDefault();
  VnSetScreenResolution(96, 96);

  int output = -1;
  for (int calls = 0; calls < kMaxCalls && !in.Empty(); ++calls) {
    const int choice = in.Choice(kSetterCount + kOutputCount + kLaterSetterCount);
    if (choice >= kSetterCount && choice < kSetterCount + kOutputCount) {
      output = choice - kSetterCount;
      break;
    }
    CallSetter(in, choice < kSetterCount ? choice : choice - kOutputCount, hugeSizes);
  }
  if (output < 0) output = in.Choice(kOutputCount);

  // An output that makes its picture finds the measure's verdict; one that refuses the picture at
  // once leaves it in place.
  const char* refusal = MeasuredRefusal();
  if (output == kOutputCount - 1) {
    CopyThroughClipboard(in, hugeSizes);
  } else {
    // A raster of huge size is only asked for when it must be refused: one that could be allocated
    // would be gigabytes of pixels. The metafile takes its place.
    const FileOutput& chosen = kFileOutputs[output];
    const bool refused = !chosen.canHold(varnel::DefaultContext().settings.width, varnel::DefaultContext().settings.height);
    SaveToFile(in, hugeSizes && chosen.rasters && !refused ? kFileOutputs[kEmf] : chosen, hugeSizes);
  }
  Require(std::strcmp(VnGetLastError(), refusal) == 0, "the output validates as the measure did");
  return 0;
}
