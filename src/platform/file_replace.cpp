#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
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

// The file to replace: a link is followed so that the file it names is replaced, not the link.
// Anything that exists but is not a regular file (a folder, a device, a pipe) is not ours to
// replace. `existing` is left empty when there is no file yet.
bool ResolveTarget(const char* path, std::string& target, std::optional<struct stat>& existing) {
  struct stat status;
  // The path itself is asked first: only a link needs resolving, and resolving takes a call for
  // every folder of the path, each time a file is saved.
  if (::lstat(path, &status) == 0 && !S_ISLNK(status.st_mode)) {
    target = path;
    existing = status;
    return S_ISREG(status.st_mode);
  }
  char* resolved = ::realpath(path, nullptr);
  target = resolved != nullptr ? resolved : path;
  std::free(resolved);
  if (::stat(target.c_str(), &status) != 0) return errno == ENOENT;
  existing = status;
  return S_ISREG(status.st_mode);
}

// The new file takes the place of `existing` as if it had been written over: a print service that
// saves over a user's picture must not make it its own, nor a user take a file away from the group
// that shares it. The owner and group go first, as changing them clears the set-id permissions.
void TakeOverOwner(int fd, const struct stat& existing) {
  if (existing.st_uid == ::geteuid() && existing.st_gid == ::getegid()) return;
  if (::fchown(fd, existing.st_uid, existing.st_gid) == 0) return;
  if (::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) == 0) return;
  // Neither is ours to give: the file stays ours, as any file we create, and the save goes on.
}

bool TakeOverAttributes(int fd, const struct stat& existing) {
  TakeOverOwner(fd, existing);
  return ::fchmod(fd, existing.st_mode & 07777) == 0;
}

// Names that others cannot guess, so that no one can take them first; where the system gives no
// randomness, the clock's, as any name that is taken is passed over anyway.
std::uint32_t NameSeed() {
  std::uint32_t seed;
  if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof seed)) return seed;
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint32_t>(::getpid());
}

// Creates the file that is written beside `target`, under a name no file has yet. It is created
// as an ordinary new file is, the process's umask applying, which is what a picture saved under a
// new name keeps. (mkstemp would create it private to its owner, and finding out the umask means
// setting it, which changes it for a moment for every thread of the host.)
int CreateFileBeside(const std::string& target, std::string& created) {
  static constexpr char kNameCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  constexpr int kRandomCharacters = 6;  // as many as mkstemp's: every name that fitted beside still does
  thread_local std::minstd_rand names(NameSeed());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kNameCharacters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = target + ".";
    for (int i = 0; i < kRandomCharacters; ++i) created += kNameCharacters[pick(names)];
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') return false;
  std::string target;
  std::optional<struct stat> existing;
  if (!ResolveTarget(path, target, existing)) return false;
  std::string temporary;
  const int fd = CreateFileBeside(target, temporary);
  if (fd < 0) return false;

  const bool written = WriteAll(fd, data, size) && (!existing || TakeOverAttributes(fd, *existing));
  const bool closed = ::close(fd) == 0;  // a full disk may only show itself here
  if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace varnel
