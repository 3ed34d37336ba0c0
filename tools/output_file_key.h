// Telling which batch lines may write the same file.
#pragma once

#include <string>

namespace varnel::tool {

// Equal keys for two paths that may name one file, however they are written: relative or absolute,
// through "..", through symbolic links to the file or to a folder on the way (dangling ones
// included, as the library follows them), through another mount of the folder, or in another ASCII
// case, for file systems that ignore it. Paths of different files may share a key too: that only
// keeps their lines on one thread.
std::string OutputFileKey(const std::string& path);

}  // namespace varnel::tool
