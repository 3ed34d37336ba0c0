#include "csv_fields.h"

#include <algorithm>

namespace varnel::tool {

std::optional<std::vector<std::string>> SplitCsvFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (true) {
    std::string field;
    if (at < line.size() && line[at] == '"') {
      ++at;
      while (true) {
        if (at >= line.size()) return std::nullopt;  // the closing quote is missing
        if (line[at] == '"') {
          if (at + 1 < line.size() && line[at + 1] == '"') {
            field += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        field += line[at++];
      }
      if (at < line.size() && line[at] != ',') return std::nullopt;
    } else {
      const std::size_t comma = std::min(line.find(',', at), line.size());
      field.assign(line.substr(at, comma - at));
      at = comma;
    }
    fields.push_back(std::move(field));
    if (at >= line.size()) return fields;
    ++at;  // past the comma, so a line ending in a comma has an empty last field
  }
}

}  // namespace varnel::tool
