#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace varnel {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// A new file gets the permissions an ordinary create would give it; a replaced one keeps its own.
mode_t NewFilePermissions() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The file to replace: a link is followed so that the file it names is replaced, not the link.
// Anything that exists but is not a regular file (a folder, a device, a pipe) is not ours to
// replace.
bool ResolveTarget(const char* path, std::string& target, mode_t& permissions) {
  struct stat existing;
  // The path itself is asked first: only a link needs resolving, and resolving takes a call for
  // every folder of the path, each time a file is saved.
  if (::lstat(path, &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    target = path;
    permissions = existing.st_mode & 07777;
    return S_ISREG(existing.st_mode);
  }
  char* resolved = ::realpath(path, nullptr);
  target = resolved != nullptr ? resolved : path;
  std::free(resolved);
  if (::stat(target.c_str(), &existing) != 0) {
    permissions = NewFilePermissions();
    return errno == ENOENT;
  }
  permissions = existing.st_mode & 07777;
  return S_ISREG(existing.st_mode);
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') return false;
  std::string target;
  mode_t permissions = 0;
  if (!ResolveTarget(path, target, permissions)) return false;
  std::string temporary = target + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;

  const bool written = WriteAll(fd, data, size) && ::fchmod(fd, permissions) == 0;
  const bool closed = ::close(fd) == 0;  // a full disk may only show itself here
  if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace varnel
