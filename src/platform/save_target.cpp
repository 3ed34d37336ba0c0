#include "platform/save_target.h"

#include <fcntl.h>
#include <limits.h>

#include <cerrno>
#include <string_view>

namespace varnel {
namespace {

constexpr int kMostLinks = 40;  // the system's own limit on the links of one lookup

// The folder and the name in it; a path ending in a slash names a folder and leaves the name empty.
void SplitPath(std::string_view path, SaveTarget& target) {
  const std::size_t slash = path.rfind('/');
  target.folderPath = FolderOf(path);
  target.name = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// For reading where the folder allows it, as only such a descriptor can be flushed; a folder that
// may be written and searched but not listed still takes a save.
bool OpenFolder(SaveTarget& target) {
  int fd = ::open(target.folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  target.folderFlushable = fd >= 0;
  if (fd < 0 && errno == EACCES) fd = ::open(target.folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  target.folder = UniqueFd(fd);
  return static_cast<bool>(target.folder);
}

bool MayFollow(const struct stat& link, int folder) {
  constexpr mode_t kSharedFolder = S_ISVTX | S_IWOTH;
  struct stat status;
  if (::fstat(folder, &status) != 0) return false;
  if ((status.st_mode & kSharedFolder) != kSharedFolder) return true;
  return link.st_uid == ::geteuid() || link.st_uid == status.st_uid;
}

// Where the link named `target.name` points, as a path from the current folder; empty, with errno
// saying why, when it cannot be read or is longer than any path the system would follow.
std::string LinkedPath(const SaveTarget& target) {
  char linked[PATH_MAX];
  const ssize_t length = ::readlinkat(target.folder.get(), target.name.c_str(), linked, sizeof linked);
  if (length < 0) return {};
  if (length == 0 || length == static_cast<ssize_t>(sizeof linked)) {
    errno = length == 0 ? ENOENT : ENAMETOOLONG;
    return {};
  }
  std::string path(linked, static_cast<std::size_t>(length));
  return path.front() == '/' ? path : target.folderPath + "/" + path;
}

// No target, for a reason of the save's own rather than a failed call's.
std::nullopt_t Refused(int reason) {
  errno = reason;
  return std::nullopt;
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? "." : slash == 0 ? "/" : path.substr(0, slash));
}

std::optional<SaveTarget> FindSaveTarget(const char* path) {
  SaveTarget target;
  std::string current = path;
  for (int links = 0; links <= kMostLinks; ++links) {
    SplitPath(current, target);
    if (target.name.empty() || target.name == "." || target.name == "..") return Refused(EISDIR);
    if (!OpenFolder(target)) return std::nullopt;
    struct stat status;
    if (::fstatat(target.folder.get(), target.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) return std::nullopt;
      return target;
    }
    if (!S_ISLNK(status.st_mode)) {
      if (!S_ISREG(status.st_mode)) return Refused(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
      target.existing = status;
      return target;
    }
    if (!MayFollow(status, target.folder.get())) return Refused(EACCES);  // as protected_symlinks refuses it
    current = LinkedPath(target);
    if (current.empty()) return std::nullopt;
  }
  return Refused(ELOOP);
}

}  // namespace varnel
