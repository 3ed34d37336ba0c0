// A private temporary file, removed when the tool ends.
#pragma once

#include <string>

namespace varnel::tool {

class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Empty when no temporary file could be made.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace varnel::tool
