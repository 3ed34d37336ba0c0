#include "workloads.h"

#include "platform/screen.h"
#include "varnel32.h"

namespace varnel::bench {
namespace {

void Defaults(int symbology, const char* data, int orientation) {
  SetScreenResolution(96, 96);
  VnSetDefault();
  VnBasicInfo(symbology, 0.07, 2.0, orientation, 0);
  VnSetMessage(data);
}

void Ean13WithAddOn(int orientation) {
  Defaults(7, "590123412345", orientation);
  VnSupplementInfo(2, "52495", 0.5);
}

void Code128(int orientation) { Defaults(2, "Code 128", orientation); }

// The defaults themselves as Code 39: data "1234" with its text.
void DefaultCode39(int orientation) { Defaults(3, "1234", orientation); }

void Postnet(int orientation) {
  Defaults(16, "12345", orientation);
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
