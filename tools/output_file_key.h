// Telling which batch lines may write the same file.
#pragma once

#include <string>
#include <unordered_map>

namespace varnel::tool {

// Equal keys for two paths that may name one file, however they are written: relative or absolute,
// through "..", through symbolic links to the file or to a folder on the way (dangling ones
// included, as the library follows them), through another mount of the folder, or in another ASCII
// case, for file systems that ignore it. Paths of different files may share a key too: that only
// keeps their lines on one thread.
class OutputFileKeys {
 public:
  std::string KeyOf(const std::string& path);

 private:
  // Each folder's identity by the way it is written, found once: a batch writes many files into
  // few folders, and the calling thread makes every key while the workers draw.
  std::unordered_map<std::string, std::string> folders_;
};

}  // namespace varnel::tool
