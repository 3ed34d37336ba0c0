// Writing an output file so that a failure never costs the caller the file it had.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varnel {

// Writes the bytes to a new file beside `path` and puts it in place only once it is complete,
// with the old file's owner, permissions and extended attributes, and flushed to the disk before
// and after it replaces an old file. Links are followed as FindSaveTarget describes. Returns
// false, leaving any old file untouched and no partial file behind, when the file cannot be
// created, written or put in place; errno then says why, as the system said it, or for a refusal
// of the library's own: EISDIR for a folder at the path, EINVAL for anything else that is not a
// regular file (a pipe, a device, a socket), EACCES for a link the rule on shared folders refuses.
bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size);

}  // namespace varnel
