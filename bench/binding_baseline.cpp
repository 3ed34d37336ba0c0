// The C side of the Python binding's benchmark (bench/python_binding.py): the render that
// Barcode(symbology=..., data=...).to_bytes("png") asks of the library, made from C++ with no
// interpreter. The same step from options to a ready context (tools/barcode_setup.h), then the
// in-memory export as the binding calls it, into a buffer kept from one picture to the next.
//   varnel_binding_baseline SYMBOLOGY DATA RENDERS OUTPUT.png
// prints the processor seconds the renders took, and writes the last picture to OUTPUT.png, for the benchmark
// to check that it is the binding's.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "barcode_setup.h"
#include "library_context.h"
#include "symbology_names.h"

int main(int argc, char** argv) {
  using namespace varnel::tool;
  const std::optional<int> symbology = argc == 5 ? FindSymbology(argv[1]) : std::nullopt;
  const int renders = argc == 5 ? std::atoi(argv[3]) : 0;
  if (!symbology || renders <= 0) {
    std::fprintf(stderr, "usage: varnel_binding_baseline SYMBOLOGY DATA RENDERS OUTPUT.png\n");
    return 1;
  }
  BarcodeOptions barcode;
  barcode.symbology = *symbology;
  barcode.data = argv[2];
  LibraryContext context = CreateLibraryContext();
  std::vector<char> buffer(64 * 1024);
  int size = 0;
  const std::clock_t start = std::clock();
  for (int n = 0; n < renders; ++n) {
    if (SetUpBarcode(context.get(), barcode).outcome != SetUpOutcome::kReady) {
      std::fprintf(stderr, "varnel_binding_baseline: the data is refused\n");
      return 1;
    }
    size = VnCtxRenderToMemory(context.get(), VN_FORMAT_PNG, buffer.data(), static_cast<int>(buffer.size()));
    if (size <= 0 || size > static_cast<int>(buffer.size())) return 1;
  }
  std::printf("%.6f\n", static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  std::FILE* out = std::fopen(argv[4], "wb");
  const std::size_t length = static_cast<std::size_t>(size);
  if (out == nullptr || std::fwrite(buffer.data(), 1, length, out) != length) return 1;
  return std::fclose(out) == 0 ? 0 : 1;
}
