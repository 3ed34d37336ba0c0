// Telling which batch lines may write the same file.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

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
  // What the keys need of a folder, found once: a batch writes many files into few folders, and
  // the calling thread makes every key while the workers draw.
  struct Folder {
    std::string identity;  // empty when there is no such folder to be reached
    int namings = 0;       // how many paths have named a file in it
    // Its names that are, or may be, links, in lower case: listed the second time a path names
    // the folder, and empty when it cannot be listed.
    std::optional<std::unordered_set<std::string>> links;
  };

  Folder& FolderAt(const std::string& folder);

  // By the way each folder is written.
  std::unordered_map<std::string, Folder> folders_;
};

}  // namespace varnel::tool
