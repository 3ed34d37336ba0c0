#include "scratch_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace varnel::tool {
namespace {

// Creates the file itself, not just a name, so no other process can take the name in between.
std::string CreateUniqueFile() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::string pattern = (folder / "varnel-XXXXXX").string();
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) return {};
  ::close(descriptor);
  return pattern;
}

}  // namespace

ScratchFile::ScratchFile() : path_(CreateUniqueFile()) {}

ScratchFile::~ScratchFile() {
  if (!path_.empty()) std::remove(path_.c_str());
}

}  // namespace varnel::tool
