// Writes the characters of Windows-1252's bytes 0x80..0x9F, as the library maps them, for the Python
// binding to encode text with:  windows_1252 OUTPUT.json
// Python's own cp1252 codec leaves five of those bytes unassigned, where the library (and so the
// command-line tool) shows them as their C1 control characters; from this list the binding agrees.
#include <cstdio>

#include "base/windows_1252.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: windows_1252 OUTPUT.json\n");
    return 1;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const char* separator = "[";
  for (const char16_t c : varnel::kWindows1252High) {
    std::fprintf(out, "%s%d", separator, static_cast<int>(c));
    separator = ", ";
  }
  std::fputs("]\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}
