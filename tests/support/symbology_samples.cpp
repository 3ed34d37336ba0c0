#include "support/symbology_samples.h"

#include "base/settings.h"

namespace varnel::testing {
namespace {

constexpr const char* kSamples[kSymbologyCount] = {
    "A1234B",          // Codabar (its own start and stop letters are data here)
    "123-45",          // Code 11
    "Code 128 \xFF",   // Code 128, any bytes
    "CODE 39",         // Code 39
    "code 39 ascii",   // Code 39 full ASCII
    "CODE-93",         // Code 93
    "0123456789",      // UCC/EAN-128 all-numeric
    "590123412345",    // EAN-13: 12 digits
    "9638507",         // EAN-8: 7 digits
    "12345670",        // Interleaved 2 of 5
    "0306406152",      // ISBN: 10 digits
    "490123456789",    // JAN-13: 12 digits starting 49
    "4912345",         // JAN-8: 7 digits starting 49
    "123456",          // Matrix 2 of 5
    "80523",           // MSI
    "40123456789",     // PLANET
    "555551237",       // POSTNET
    "001234567890123456",  // SSCC-18: an even length
    "10614141000415",  // UCC/EAN-128 AI 01: an even length
    "03600029145",     // UPC-A: 11 digits
    "04210000526",     // UPC-E: 11 digits
};

}  // namespace

const char* SampleMessage(int symbology) {
  return symbology >= 0 && symbology < kSymbologyCount ? kSamples[symbology] : "";
}

}  // namespace varnel::testing
