// Writes the Python binding's symbology names from the library's catalogue, as a JSON object of
// names and numbers in number order:  symbology_names OUTPUT.json
#include <cstdio>

#include "symbologies/catalogue.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: symbology_names OUTPUT.json\n");
    return 1;
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const char* separator = "{\n";
  for (const varnel::SymbologyRow& row : varnel::kSymbologies) {
    std::fprintf(out, "%s  \"%.*s\": %d", separator, static_cast<int>(row.name.size()), row.name.data(), row.number);
    separator = ",\n";
  }
  std::fputs("\n}\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}
