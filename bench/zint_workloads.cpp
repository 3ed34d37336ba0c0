#include "zint_workloads.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace varnel::bench {

const ZintWorkload kZintWorkloads[4] = {
    {"ean13+5", BARCODE_EANX, "590123412345+52495"},
    {"code128", BARCODE_CODE128, "Code 128"},
    {"postnet", BARCODE_POSTNET, "12345"},
    {"code39", BARCODE_CODE39, "1234"},
};

namespace {

// Any bar height to start from: the picture's height is measured with it, then corrected.
constexpr float kTrialBarHeight = 50.0f;

// The raster picture zint draws for the symbol as it is set up now (zint measures the text itself
// when given a length of 0).
std::optional<PictureSize> RasterSize(zint_symbol* symbol, const char* data) {
  ZBarcode_Clear(symbol);
  const int status = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(data), 0, 0);
  const PictureSize size{symbol->bitmap_width, symbol->bitmap_height};
  ZBarcode_Clear(symbol);
  if (status >= ZINT_ERROR) return std::nullopt;
  return size;
}

}  // namespace

// zint draws whole pixels a module only at scales that are multiples of 0.5 (at any other it draws
// at scale 1 and resamples the picture, a slower path a host would not choose), and draws no text
// below scale 1. So the scale is the largest such multiple, 1 at least, whose picture fits the
// width; quiet zones (whitespace_width, whole modules on each side) fill out the width, and the bar
// height (in modules, which zint rounds to whole pixels) the height. zint's text grows with its
// scale, and so with the picture's width rather than its height.
ZintLabel MakeZintLabel(const ZintWorkload& workload, PictureSize size) {
  ZintSymbol symbol(ZBarcode_Create());
  symbol->symbology = workload.symbology;
  symbol->height = kTrialBarHeight;
  const auto atScaleOne = RasterSize(symbol.get(), workload.data);
  if (!atScaleOne) return {};
  symbol->scale = std::max(1.0f, std::floor(2.0f * size.width / atScaleOne->width) / 2.0f);
  const int pixelsPerModule = static_cast<int>(symbol->scale * 2.0f);
  const auto scaled = RasterSize(symbol.get(), workload.data);
  if (!scaled) return {};
  symbol->whitespace_width =
      std::max(0, static_cast<int>(std::lround((size.width - scaled->width) / (2.0 * pixelsPerModule))));
  symbol->height += static_cast<float>(size.height - scaled->height) / static_cast<float>(pixelsPerModule);
  const auto picture = RasterSize(symbol.get(), workload.data);
  if (!picture) return {};
  return {std::move(symbol), workload.data, *picture};
}

}  // namespace varnel::bench
