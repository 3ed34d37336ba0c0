#include "platform/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>

#include "platform/file_attributes.h"
#include "platform/save_target.h"
#include "platform/unique_fd.h"

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

// Removes what a failed save made without losing the failure's reason from errno.
void RemoveKeepingReason(int folder, const char* name) {
  const int reason = errno;
  ::unlinkat(folder, name, 0);
  errno = reason;
}

// A brand new file is created as any new file of the process is, the umask and the folder's
// default access list applying: it shows nothing its final self would not. The file that replaces
// an old one starts private to its owner, and gets the old file's permissions only once it holds
// its whole picture and before it can be reached by name.
constexpr mode_t kNewFileMode = 0666;
mode_t CreationMode(const SaveTarget& target) { return target.existing ? 0600 : kNewFileMode; }

// What the new file needs before it takes an old file's place: the old file's attributes, and its
// bytes on the disk, so that a power cut after the rename finds the new file whole and not an
// empty one where the old was.
bool PrepareToReplace(int fd, const SaveTarget& target) {
  return TakeOverAttributes(fd, target.Path(), *target.existing) && ::fsync(fd) == 0;
}

// Once an old file has been replaced, the rename itself is made to last. A folder that could not
// be opened for reading cannot be flushed; the new file is in place either way.
void FlushFolderAfterReplacing(const SaveTarget& target) {
  if (target.existing && target.folderFlushable) ::fsync(target.folder.get());
}

// Names that others cannot guess, so that no one can take them first; where the system gives no
// randomness, the clock's, as any name that is taken is passed over anyway.
std::uint32_t NameSeed() {
  std::uint32_t seed;
  if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof seed)) return seed;
  return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint32_t>(::getpid());
}

// A name beside `name` that no file has yet, as likely as not: the name, cut short where the
// system's name limit would not leave room for the few characters added, then a dot and six
// random ones. The caller passes over a name that is taken.
std::string TemporaryName(const std::string& name) {
  static constexpr char kNameCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  constexpr std::size_t kRandomCharacters = 6;  // as many as mkstemp's
  constexpr std::size_t kLongestKept = NAME_MAX - 1 - kRandomCharacters;
  thread_local std::minstd_rand names(NameSeed());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kNameCharacters - 2);
  std::string temporary = name.substr(0, kLongestKept) + ".";
  for (std::size_t i = 0; i < kRandomCharacters; ++i) temporary += kNameCharacters[pick(names)];
  return temporary;
}

constexpr int kNameAttempts = 100;

enum class Outcome { kSaved, kFailed, kUnsupported };

// Renames the file at `temporary` over the target, and removes it when that fails.
Outcome RenameIntoPlace(const SaveTarget& target, const std::string& temporary) {
  const int folder = target.folder.get();
  if (::renameat(folder, temporary.c_str(), folder, target.name.c_str()) != 0) {
    RemoveKeepingReason(folder, temporary.c_str());
    return Outcome::kFailed;
  }
  FlushFolderAfterReplacing(target);
  return Outcome::kSaved;
}

// Whether this process may link its unnamed files directly, as one that may read any file may:
// assumed until a try says otherwise, and then never tried again.
std::atomic<bool> linksDirectly{true};

// An unnamed file gets its first name, `name` in `folder` (a path from the current folder with
// AT_FDCWD). A process that may read any file links it directly; any other links its own unnamed
// files through /proc, which costs a walk of /proc's names.
bool LinkUnnamed(int fd, int folder, const char* name) {
  if (linksDirectly.load(std::memory_order_relaxed)) {
    if (::linkat(fd, "", folder, name, AT_EMPTY_PATH) == 0) return true;
    if (errno != ENOENT && errno != EPERM) return false;  // the name is taken, or the folder refuses
    linksDirectly.store(false, std::memory_order_relaxed);
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), folder, name, AT_SYMLINK_FOLLOW) == 0;
}

// A whole unnamed file becomes the new file `name` in `folder`, where a file that appeared there
// meanwhile stays.
Outcome LinkNewFile(UniqueFd& file, int folder, const char* name) {
  if (!LinkUnnamed(file.get(), folder, name)) return errno == ENOENT ? Outcome::kUnsupported : Outcome::kFailed;
  if (file.Close()) return Outcome::kSaved;
  RemoveKeepingReason(folder, name);
  return Outcome::kFailed;
}

// The usual save, of a file that does not exist yet, in the fewest calls the rules allow: one look
// at the path, which finds nothing and so lets the file be created as any new file is, then the
// unnamed file made in the folder and linked, both by their paths. A new file is not flushed, so
// the folder needs no descriptor of its own. kUnsupported, with nothing left behind, for a path
// that holds something or cannot be looked at, and where the folder cannot hold unnamed files or
// the process cannot link them: the careful way looks again and finds out what to do.
Outcome SaveNewFile(const char* path, const std::uint8_t* data, std::size_t size) {
  struct stat status;
  if (::lstat(path, &status) == 0 || errno != ENOENT) return Outcome::kUnsupported;
  UniqueFd file(::openat(AT_FDCWD, FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode));
  if (!file) return Outcome::kUnsupported;
  if (!WriteAll(file.get(), data, size)) return Outcome::kFailed;
  return LinkNewFile(file, AT_FDCWD, path);
}

// The file is written without a name, so that a kill at any point leaves nothing behind. A new
// file is linked straight under its name, where a file that appeared there meanwhile stays; a file
// replacing another must be linked under a temporary name for the moment before the rename, as no
// call links a file over an existing one. kUnsupported where the file system cannot hold unnamed
// files or the process cannot link them: nothing has been written then.
Outcome SaveUnnamed(const SaveTarget& target, const std::uint8_t* data, std::size_t size) {
  UniqueFd file(::openat(target.folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, CreationMode(target)));
  if (!file) return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Outcome::kUnsupported : Outcome::kFailed;
  if (!WriteAll(file.get(), data, size)) return Outcome::kFailed;
  if (!target.existing) return LinkNewFile(file, target.folder.get(), target.name.c_str());
  if (!PrepareToReplace(file.get(), target)) return Outcome::kFailed;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string temporary = TemporaryName(target.name);
    if (LinkUnnamed(file.get(), target.folder.get(), temporary.c_str())) return RenameIntoPlace(target, temporary);
    if (errno == ENOENT) return Outcome::kUnsupported;
    if (errno != EEXIST) return Outcome::kFailed;
  }
  return Outcome::kFailed;
}

// Where unnamed files cannot be had: the file is written under a temporary name beside the target
// and renamed over it once complete. A kill can leave it behind, but never open to more readers
// than the final file.
Outcome SaveNamed(const SaveTarget& target, const std::uint8_t* data, std::size_t size) {
  const int folder = target.folder.get();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string temporary = TemporaryName(target.name);
    UniqueFd file(::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, CreationMode(target)));
    if (!file) {
      if (errno == EEXIST) continue;
      return Outcome::kFailed;
    }
    const bool written = WriteAll(file.get(), data, size) && (!target.existing || PrepareToReplace(file.get(), target));
    if (file.Close() && written) return RenameIntoPlace(target, temporary);
    RemoveKeepingReason(folder, temporary.c_str());
    return Outcome::kFailed;
  }
  return Outcome::kFailed;
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;  // as the system says for an empty path
    return false;
  }
  Outcome outcome = SaveNewFile(path, data, size);
  if (outcome != Outcome::kUnsupported) return outcome == Outcome::kSaved;
  const std::optional<SaveTarget> target = FindSaveTarget(path);
  if (!target) return false;
  outcome = SaveUnnamed(*target, data, size);
  if (outcome == Outcome::kUnsupported) outcome = SaveNamed(*target, data, size);
  return outcome == Outcome::kSaved;
}

}  // namespace varnel
