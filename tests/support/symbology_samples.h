// A message that each symbology accepts and draws, for suites that sweep every symbology and need
// pictures that show bars rather than a validation message: the catalogue's test sample.
#pragma once

namespace varnel::testing {

// By symbology number, 0 to kSymbologyCount - 1; "" for any other.
const char* SampleMessage(int symbology);

}  // namespace varnel::testing
