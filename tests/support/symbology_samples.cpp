#include "support/symbology_samples.h"

#include "symbologies/catalogue.h"

namespace varnel::testing {

const char* SampleMessage(int symbology) {
  // The catalogue's texts are literals, so each one's data is followed by its NUL.
  return symbology >= 0 && symbology < kSymbologyCount ? kSymbologies[symbology].testSample.data() : "";
}

}  // namespace varnel::testing
