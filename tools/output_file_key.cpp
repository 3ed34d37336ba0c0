#include "output_file_key.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include <dirent.h>
#include <sys/stat.h>

namespace varnel::tool {
namespace {

// As many links as Linux follows in one path before it gives up (ELOOP).
constexpr int kMostLinks = 40;

struct FolderAndName {
  std::string folder;
  std::string name;
};

// Plain text rather than std::filesystem::path, whose parsing would cost more than the key is worth
// on a batch of many short lines.
FolderAndName Split(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The file the library would create or replace: the end of the chain of links at the path.
std::string FollowLinks(std::string path) {
  struct stat status{};
  for (int links = 0; links < kMostLinks && ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
       ++links) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(path, error).string();
    if (error || target.empty()) break;
    path = target.front() == '/' ? target : Split(path).folder + "/" + target;
  }
  return path;
}

std::string AsciiLowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The folder by its identity, which every way of reaching it shares; empty when there is no such
// folder to be reached.
std::string FolderIdentity(const std::string& folder) {
  struct stat status{};
  if (::stat(folder.c_str(), &status) != 0) return {};
  return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

// The folder's names that are links, and those whose kind the listing does not tell; nothing when
// the folder cannot be read.
std::optional<std::unordered_set<std::string>> LinksIn(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
  if (!listing) return std::nullopt;
  std::unordered_set<std::string> links;
  while (const dirent* entry = ::readdir(listing.get())) {
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) links.insert(AsciiLowerCase(entry->d_name));
  }
  return links;
}

}  // namespace

OutputFileKeys::Folder& OutputFileKeys::FolderAt(const std::string& folder) {
  const auto [entry, first] = folders_.try_emplace(folder);
  if (first) entry->second.identity = FolderIdentity(folder);
  return entry->second;
}

// A name that the folder's listing shows is no link is the file itself, and needs no look of its
// own. Most lines write new files, and a look at a name that is not there waits on the folder's
// lock, which the workers take for every file they make there. The first path into a folder is
// looked at alone, so that a batch of a line or two into a large folder does not list it.
std::string OutputFileKeys::KeyOf(const std::string& path) {
  const FolderAndName written = Split(path);
  Folder& folder = FolderAt(written.folder);
  if (++folder.namings == 2) folder.links = LinksIn(written.folder);
  const bool noLink = folder.links && !folder.links->contains(AsciiLowerCase(written.name));
  const std::string file = noLink ? path : FollowLinks(path);
  const FolderAndName parts = noLink ? written : Split(file);
  const std::string& identity = noLink ? folder.identity : FolderAt(parts.folder).identity;
  // Without the folder nothing can be written there, so any key keeps the outcome.
  if (identity.empty()) return AsciiLowerCase(file);
  return identity + "/" + AsciiLowerCase(parts.name);
}

}  // namespace varnel::tool
