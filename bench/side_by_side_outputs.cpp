#include "side_by_side_outputs.h"

#include <algorithm>
#include <cstring>

#include "varnel32.h"

namespace varnel::bench {
namespace {

// Each label starts with a setter call, as a host's next label does; it also keeps
// VnRenderToMemory from handing back the picture it kept from the last call instead of rendering.
void StartLabel(const OurLabel& label) { VnSetSize(label.size.width, label.size.height); }

template <VnBool (*save)(const char*)>
bool SaveFile(OurLabel& label, const char* path) {
  StartLabel(label);
  return save(path) == 1;
}

bool Copied(int size, const std::vector<unsigned char>& buffer) {
  return size > 0 && static_cast<std::size_t>(size) <= buffer.size();
}

template <int format>
bool RenderToMemory(OurLabel& label, const char*) {
  StartLabel(label);
  return Copied(VnRenderToMemory(format, label.buffer.data(), static_cast<int>(label.buffer.size())), label.buffer);
}

bool ClipboardEmf(OurLabel& label, const char*) {
  StartLabel(label);
  return VnCopyToClipboard() == 1 &&
         Copied(VnGetClipboardEMF(label.buffer.data(), static_cast<int>(label.buffer.size())), label.buffer);
}

// zint's renders start by freeing the last one's pictures, as its own batch does between lines.
const unsigned char* Data(const ZintLabel& label) { return reinterpret_cast<const unsigned char*>(label.data); }

bool ZintFile(ZintLabel& label, const char* path) {
  ZBarcode_Clear(label.symbol.get());
  std::strncpy(label.symbol->outfile, path, sizeof label.symbol->outfile - 1);
  return ZBarcode_Encode_and_Print(label.symbol.get(), Data(label), 0, 0) < ZINT_ERROR;
}

bool ZintVector(ZintLabel& label, const char*) {
  ZBarcode_Clear(label.symbol.get());
  return ZBarcode_Encode_and_Buffer_Vector(label.symbol.get(), Data(label), 0, 0) < ZINT_ERROR;
}

bool ZintBitmap(ZintLabel& label, const char*) {
  ZBarcode_Clear(label.symbol.get());
  return ZBarcode_Encode_and_Buffer(label.symbol.get(), Data(label), 0, 0) < ZINT_ERROR;
}

struct FileFormat {
  const char* name;
  const char* ourExtension;
  const char* zintExtension;
  double target;  // as a new file; a replacement has none, zint's truncating the old file in place
  bool (*save)(OurLabel& label, const char* path);
};

constexpr FileFormat kFileFormats[] = {
    {"BMP", "bmp", "bmp", 0.5, SaveFile<VnSaveAsBMP>},
    // A PNG is held to three times zint's speed, beyond the raster files' half.
    {"PNG", "png", "png", 1.0 / 3, SaveFile<VnSaveAsPNG>},
    {"SVG", "svg", "svg", 0.9, SaveFile<VnSaveAsSVG>},
    {"EMF", "emf", "emf", 0.9, SaveFile<VnSaveAsEMF>},
    // zint writes no WMF: ours is held to its EMF.
    {"WMF", "wmf", "emf", 0.9, SaveFile<VnSaveAsWMF>},
};

struct FileUse {
  const char* key;
  const char* title;
  Destination destination;
  bool targeted;
};

constexpr FileUse kFileUses[] = {
    {"new", "new file", Destination::kNewFile, true},
    {"replace", "replacing a file", Destination::kReplacedFile, false},
};

constexpr int kFormats[] = {VN_FORMAT_BMP, VN_FORMAT_WMF, VN_FORMAT_EMF, VN_FORMAT_SVG, VN_FORMAT_PNG};

}  // namespace

OurLabel MakeOurLabel(const Workload& workload, PictureSize size) {
  workload.configure(0, size);
  int largest = 0;
  for (const int format : kFormats) largest = std::max(largest, VnRenderToMemory(format, nullptr, 0));
  return {size, std::vector<unsigned char>(static_cast<std::size_t>(largest))};
}

std::vector<Comparison> Comparisons() {
  std::vector<Comparison> all;
  for (const FileUse& use : kFileUses) {
    for (const FileFormat& format : kFileFormats) {
      const std::string ours = format.ourExtension;
      const std::string against = ours == format.zintExtension ? "" : std::string(" (zint: .") + format.zintExtension + ")";
      all.push_back({ours + "/" + use.key, std::string(format.name) + " " + use.title + against, use.destination,
                     format.ourExtension, format.zintExtension, use.targeted ? format.target : 0, format.save,
                     ZintFile});
    }
  }
  const Comparison inMemory[] = {
      {"emf/clipboard", "EMF, clipboard (zint: vector)", Destination::kMemory, "", "", 0.5, ClipboardEmf, ZintVector},
      {"emf/memory", "EMF in memory (zint: vector)", Destination::kMemory, "", "", 0.5, RenderToMemory<VN_FORMAT_EMF>, ZintVector},
      {"svg/memory", "SVG in memory (zint: vector)", Destination::kMemory, "", "", 0.5, RenderToMemory<VN_FORMAT_SVG>, ZintVector},
      {"bmp/memory", "BMP in memory (zint: bitmap)", Destination::kMemory, "", "", 0.5, RenderToMemory<VN_FORMAT_BMP>, ZintBitmap},
  };
  all.insert(all.end(), std::begin(inMemory), std::end(inMemory));
  return all;
}

}  // namespace varnel::bench
