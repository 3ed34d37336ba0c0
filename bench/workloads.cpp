#include "workloads.h"

#include <cmath>

#include "platform/screen.h"
#include "varnel32.h"

namespace varnel::bench {
namespace {

// The defaults' lengths, which a larger picture scales.
constexpr double kNarrowWidthCm = 0.07;
constexpr double kWideRatio = 2.0;
constexpr double kBarHeightCm = 1.5;
constexpr int kFontHeight = 24;
constexpr double kAddOnGapCm = 0.5;

// How many times the defaults' picture `size` is, across and down.
struct Growth {
  double across;
  double down;
};

Growth GrowthTo(PictureSize size) {
  return {static_cast<double>(size.width) / kDefaultPicture.width,
          static_cast<double>(size.height) / kDefaultPicture.height};
}

void Defaults(int symbology, const char* data, int orientation, PictureSize size) {
  SetScreenResolution(96, 96);
  VnSetDefault();
  const Growth growth = GrowthTo(size);
  VnSetSize(size.width, size.height);
  VnBasicInfo(symbology, kNarrowWidthCm * growth.across, kWideRatio, orientation, 0);
  VnSetBarHeight(kBarHeightCm * growth.down);
  VnFontInfo("Arial", static_cast<int>(std::lround(kFontHeight * growth.down)));
  VnSetMessage(data);
}

void Ean13WithAddOn(int orientation, PictureSize size) {
  Defaults(7, "590123412345", orientation, size);
  VnSupplementInfo(2, "52495", kAddOnGapCm * GrowthTo(size).across);
}

void Code128(int orientation, PictureSize size) { Defaults(2, "Code 128", orientation, size); }

// The defaults themselves as Code 39: data "1234" with its text.
void DefaultCode39(int orientation, PictureSize size) { Defaults(3, "1234", orientation, size); }

void Postnet(int orientation, PictureSize size) {
  Defaults(16, "12345", orientation, size);
  VnTextInfo(1, 1, 1);
}

}  // namespace

const Workload kWorkloads[4] = {
    {"ean13+5", Ean13WithAddOn},
    {"code128", Code128},
    {"postnet", Postnet},
    {"code39", DefaultCode39},
};

}  // namespace varnel::bench
