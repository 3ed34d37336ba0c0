// Where a saved picture goes: the folder that will hold it and the file's name there, found by
// following links only where the system would follow them for an ordinary open.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/unique_fd.h"

namespace varnel {

struct SaveTarget {
  std::string folderPath;  // as the path, or the last link followed, names it
  std::string name;        // the file's name in that folder
  UniqueFd folder;         // where the new file is created, linked, renamed and flushed
  bool folderFlushable = false;         // opened for reading, which a flush needs
  std::optional<struct stat> existing;  // the regular file to replace; empty for a new file

  std::string Path() const { return folderPath + "/" + name; }
};

// The folder a path's last name lies in: "a/b/c" in "a/b", a bare name in ".", and "/c" in "/". A
// path ending in a slash names a folder, and lies in itself.
std::string FolderOf(std::string_view path);

// A link at the path, or at the end of a chain of links, is followed, a dangling one included, so
// that the file it names is created or replaced and the link stays. In a folder that everyone may
// write to and only owners may delete from (sticky and world-writable, as /tmp), a link is
// followed only when it belongs to the caller or to the folder's owner: anyone could plant
// another there to make the caller write into a file of its own. Linux refuses such links to an
// ordinary open where fs.protected_symlinks is on; a save refuses them whatever the setting.
// Empty when the path leads nowhere a file may be saved, with errno saying why: a refused link
// (EACCES), a loop of links (ELOOP), a folder that cannot be opened (the system's reason), a
// folder at the path (EISDIR) or something else there that is not a regular file (EINVAL).
std::optional<SaveTarget> FindSaveTarget(const char* path);

}  // namespace varnel
