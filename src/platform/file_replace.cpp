#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
mode_t PermissionsFor(const char* path) {
  struct stat existing;
  if (::stat(path, &existing) == 0 && S_ISREG(existing.st_mode)) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') return false;
  std::string temporary = std::string(path) + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;

  const bool written = WriteAll(fd, data, size) && ::fchmod(fd, PermissionsFor(path)) == 0;
  const bool closed = ::close(fd) == 0;  // a full disk may only show itself here
  if (written && closed && ::rename(temporary.c_str(), path) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace varnel
