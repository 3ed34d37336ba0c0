// Data read from a file or from standard input, for --data-file and --data -.
#pragma once

#include <string>

namespace varnel::tool {

struct DataFile {
  std::string data;
  std::string problem;  // why it could not be read, with the system's reason; then data is empty
};

// The whole file ("-": standard input) as bytes, less one line end (\n or \r\n) at its very end,
// which an editor or `echo` adds; anything before it is data, other line ends included.
DataFile ReadDataFile(const std::string& path);

}  // namespace varnel::tool
