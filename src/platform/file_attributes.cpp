#include "platform/file_attributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace varnel {
namespace {

// A file's capabilities are granted to what it holds, and the system drops them whenever the file
// is written: a picture must not inherit them.
constexpr std::string_view kCapabilities = "security.capability";
// The POSIX access control list, kept by Linux as an extended attribute of its own format.
constexpr char kAccessAcl[] = "system.posix_acl_access";

// The file takes the place of the old one as if it had been written over: a print service that
// saves over a user's picture must not make it its own, nor a user take a file away from the group
// that shares it.
void TakeOverOwner(int fd, const struct stat& old) {
  if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) return;
  if (::fchown(fd, old.st_uid, old.st_gid) == 0) return;
  if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0) return;
  // Neither is ours to give: the file stays ours, as any file we create, and the save goes on.
}

// The bytes a list or get call fills, asked for its size first and again while it grows between
// the two calls. Empty when the call fails; `available` is false then.
template <typename Call>
std::vector<char> ReadSized(Call call, bool& available) {
  std::vector<char> bytes;
  for (;;) {
    const ssize_t size = call(nullptr, 0);
    available = size >= 0;
    if (size <= 0) return {};
    bytes.resize(static_cast<std::size_t>(size));
    const ssize_t read = call(bytes.data(), bytes.size());
    if (read >= 0) {
      bytes.resize(static_cast<std::size_t>(read));
      return bytes;
    }
    if (errno != ERANGE) {
      available = false;
      return {};
    }
  }
}

std::vector<std::string> SplitNames(const std::vector<char>& list) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    const std::string_view name(&list[at]);
    names.emplace_back(name);
    at += name.size() + 1;
  }
  return names;
}

std::vector<std::string> NamesOf(const std::string& path) {
  bool available = false;
  return SplitNames(ReadSized([&](char* buffer, std::size_t size) { return ::llistxattr(path.c_str(), buffer, size); },
                              available));
}

std::vector<std::string> NamesOf(int fd) {
  bool available = false;
  return SplitNames(ReadSized([&](char* buffer, std::size_t size) { return ::flistxattr(fd, buffer, size); },
                              available));
}

std::optional<std::vector<char>> ValueOf(const std::string& path, const std::string& name) {
  bool available = false;
  std::vector<char> value = ReadSized(
      [&](char* buffer, std::size_t size) { return ::lgetxattr(path.c_str(), name.c_str(), buffer, size); },
      available);
  if (!available) return std::nullopt;
  return value;
}

// The permissions the owning group had under an access control list: its own entry as far as the
// mask allows. The list is a version word followed by entries of a tag, permissions and an id.
std::optional<mode_t> OwningGroupPermissions(const std::vector<char>& acl) {
  constexpr std::size_t kHeader = 4, kEntry = 8;
  constexpr std::uint16_t kGroupObject = 0x04, kMask = 0x10;
  std::optional<std::uint16_t> group;
  std::uint16_t mask = 07;
  for (std::size_t at = kHeader; at + kEntry <= acl.size(); at += kEntry) {
    std::uint16_t tag, permissions;
    std::memcpy(&tag, &acl[at], sizeof tag);
    std::memcpy(&permissions, &acl[at + 2], sizeof permissions);
    if (tag == kGroupObject) group = permissions;
    if (tag == kMask) mask = permissions;
  }
  if (!group) return std::nullopt;
  return static_cast<mode_t>(*group & mask & 07);
}

// Where the old list cannot be given to the new file, the file goes without one, and its group
// permissions narrow to what the list gave the owning group: the users and groups the list named
// lose what it granted them, and nobody gains.
bool StandInForAcl(int fd, const std::vector<char>& acl, mode_t mode) {
  const std::optional<mode_t> group = OwningGroupPermissions(acl);
  if (!group) return false;
  if (::fremovexattr(fd, kAccessAcl) != 0 && errno != ENODATA) return false;
  return ::fchmod(fd, (mode & ~mode_t{070}) | (*group << 3)) == 0;
}

// The new file's extended attributes become the old file's: those the old one had are set, and
// those it had not (an access control list inherited from the folder, say) are removed. An
// attribute that cannot be set is passed over, as a copy by a user that may not set it would.
bool CarryOverExtendedAttributes(int fd, const std::string& oldPath, mode_t mode) {
  const std::vector<std::string> oldNames = NamesOf(oldPath);
  for (const std::string& name : NamesOf(fd)) {
    if (std::find(oldNames.begin(), oldNames.end(), name) == oldNames.end() || name == kCapabilities)
      ::fremovexattr(fd, name.c_str());
  }
  for (const std::string& name : oldNames) {
    if (name == kCapabilities) continue;
    const std::optional<std::vector<char>> value = ValueOf(oldPath, name);
    if (!value) continue;
    if (::fsetxattr(fd, name.c_str(), value->data(), value->size(), 0) == 0) continue;
    if (name == kAccessAcl && !StandInForAcl(fd, *value, mode)) return false;
  }
  return true;
}

}  // namespace

bool TakeOverAttributes(int fd, const std::string& oldPath, const struct stat& old) {
  TakeOverOwner(fd, old);
  // The set-user-ID and set-group-ID permissions, like capabilities, lend their rights to what the
  // file holds, and writing over the file would clear them: a picture gets neither.
  const mode_t mode = old.st_mode & 07777 & ~mode_t{S_ISUID | S_ISGID};
  return ::fchmod(fd, mode) == 0 && CarryOverExtendedAttributes(fd, oldPath, mode);
}

}  // namespace varnel
