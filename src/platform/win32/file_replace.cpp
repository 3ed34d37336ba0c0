// The file is written beside its final place under a name of its own and moved over the old one
// only once it is complete and on the disk: MoveFileExA replaces the old file in one step, so the
// name holds the old file or the complete new one at every moment, and a failure leaves the old
// file as it was.
//
// MoveFileEx rather than ReplaceFile. ReplaceFile hands the old file's access list, attributes and
// streams on to the new one, but its failures need handling of their own (without a backup name
// it can fail with no file left at the name and the new one still to be moved in), and Wine, under
// which this DLL is tested, moves the old file away and deletes it before moving the new one in,
// carries nothing over and refuses read-only files: none of those paths could be tried. With
// MoveFileEx the new file has the security its folder gives every new file, the same while it is
// written as once it is in place, so nobody can read it beside the old file who could not read it
// at the old file's name, and nobody else can open it at all before it is there. The old file's
// own access list is not kept, as it is not by the editors that save by renaming.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/file_replace.h"

#include "platform/win32/windows_api.h"

namespace varnel {
namespace {

// The C runtime's number nearest the system's error, which is what the save exports report; EIO
// for an error that has none.
struct ErrorNumber {
  DWORD error;
  int number;
};
constexpr ErrorNumber kErrorNumbers[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT},
    {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_INVALID_NAME, ENOENT},
    {ERROR_BAD_NETPATH, ENOENT},
    {ERROR_ACCESS_DENIED, EACCES},
    {ERROR_SHARING_VIOLATION, EACCES},
    {ERROR_LOCK_VIOLATION, EACCES},
    {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_DISK_FULL, ENOSPC},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    {ERROR_OUTOFMEMORY, ENOMEM},
    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_CANT_RESOLVE_FILENAME, ELOOP},
    {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_ALREADY_EXISTS, EEXIST},
};

// Sets errno from the system's last error, for a save that fails now.
bool FailedWithLastError() {
  const DWORD error = GetLastError();
  errno = EIO;
  for (const ErrorNumber& known : kErrorNumbers) {
    if (known.error == error) errno = known.number;
  }
  return false;
}

// What a file's owner sets on it, which the new file keeps, as sed -i keeps a file's mode.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct Target {
  std::string path;
  std::optional<DWORD> existing;  // the attributes of the file replaced; empty for a new file
};

// The path of an open file as the system reached it, every link on the way resolved
// ("\\?\C:\..."); empty when the system cannot name it.
std::string FinalPath(HANDLE file) {
  constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  // One more than the size asked for: Wine's leaves out the terminating NUL that Windows' counts.
  const DWORD size = GetFinalPathNameByHandleA(file, nullptr, 0, kFlags) + 1;
  if (size == 1) return {};
  std::string path(size, '\0');
  const DWORD length = GetFinalPathNameByHandleA(file, path.data(), size, kFlags);
  if (length == 0 || length >= size) return {};
  path.resize(length);
  return path;
}

// The file a save creates or replaces. A reparse point at the path (a symbolic link, or a file a
// filter stands behind, such as a cloud file) is opened as an ordinary open opens it, so that the
// system's own rules decide whether and where a link is followed: the file reached is replaced and
// the link stays. Where that open fails, the save is refused and the link kept: a link the system
// will not follow, a reparse point that is no file, and a dangling link, whose target the system
// names only by creating a file there, which others would see, empty, before the picture is
// complete. A folder, or a link or junction to one, is not ours to replace.
std::optional<Target> FindTarget(const char* path) {
  // The name's own attributes: GetFileAttributes does not follow a link.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return Target{path, std::nullopt};
    FailedWithLastError();
    return std::nullopt;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    errno = EISDIR;
    return std::nullopt;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return Target{path, attributes};

  const HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    FailedWithLastError();
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION reached;
  const bool known = GetFileInformationByHandle(file, &reached) != 0;
  Target target{FinalPath(file), reached.dwFileAttributes};
  const bool named = known && !target.path.empty();
  if (!named) FailedWithLastError();  // before the close, which may set an error of its own
  CloseHandle(file);
  if (!named) return std::nullopt;
  return target;
}

// Whether the system deletes the file when its last handle closes. The new file is so marked
// while it is written and flushed, so that a process killed meanwhile leaves nothing behind: the
// system closes a dead process's handles. FILE_FLAG_DELETE_ON_CLOSE cannot be taken back, and the
// mark must be, just before the move, as the system renames no file about to be deleted. Only a
// kill in the instants between creating the file and marking it, or between taking the mark back
// and the move, leaves it behind.
bool SetDeleteOnClose(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = deleted ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// Shared by every thread that saves: each name it gives is taken once, so that two saves beside
// the same file at the same moment do not both try, and skip, the same names.
std::atomic<unsigned> temporaryCount{0};

// A new, empty file beside `path`, marked for deletion, opened for writing and shared with nobody
// but the move that puts it in place; its name is in `temporary`. Names taken by files left behind
// by others are skipped.
HANDLE CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, ".%lx-%x.tmp", GetCurrentProcessId(), temporaryCount.fetch_add(1));
    temporary = path + suffix;
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE,
                                    FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return file;
    }
    if (SetDeleteOnClose(file, true)) return file;
    CloseHandle(file);
    DeleteFileA(temporary.c_str());
    return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

// WriteFile takes a DWORD's worth at a time at most.
bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Windows, unlike POSIX, renames no file over a read-only one: the old file's read-only attribute
// is lifted for the move, and given back when the move fails (a kill in between leaves it lifted).
bool MoveOver(const std::string& temporary, const Target& target) {
  const bool readOnly = target.existing && (*target.existing & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !SetFileAttributesA(target.path.c_str(), *target.existing & ~FILE_ATTRIBUTE_READONLY)) return false;
  if (MoveFileExA(temporary.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  FailedWithLastError();
  if (readOnly) SetFileAttributesA(target.path.c_str(), *target.existing);
  return false;
}

// Given once the new file is in place: a read-only one could not have been marked for deletion.
// Should they not take, the file is still the saved picture, and the save stands.
void KeepAttributes(HANDLE file, DWORD existing) {
  BY_HANDLE_FILE_INFORMATION information;
  if ((existing & kKeptAttributes) == 0 || !GetFileInformationByHandle(file, &information)) return;
  FILE_BASIC_INFO basic{};  // times of zero are left as they are
  basic.FileAttributes = information.dwFileAttributes | (existing & kKeptAttributes);
  SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
}

}  // namespace

bool ReplaceFileContents(const char* path, const std::uint8_t* data, std::size_t size) {
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return false;
  }
  const std::optional<Target> target = FindTarget(path);
  if (!target) return false;

  std::string temporary;
  const HANDLE file = CreateTemporaryBeside(target->path, temporary);
  if (file == INVALID_HANDLE_VALUE) return FailedWithLastError();
  // On the disk before it takes an old file's place, so that a crash cannot leave the name holding
  // a file whose contents never got there; a new name has no old file to lose.
  const bool ready =
      WriteAll(file, data, size) && (!target->existing || FlushFileBuffers(file)) && SetDeleteOnClose(file, false);
  if (!ready) FailedWithLastError();
  const bool moved = ready && MoveOver(temporary, *target);
  if (!moved) {
    const int reason = errno;
    SetDeleteOnClose(file, true);
    CloseHandle(file);
    errno = reason;
    return false;
  }
  if (target->existing) KeepAttributes(file, *target->existing);
  CloseHandle(file);
  return true;
}

}  // namespace varnel
