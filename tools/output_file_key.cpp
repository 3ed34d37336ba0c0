#include "output_file_key.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

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

}  // namespace

std::string OutputFileKeys::KeyOf(const std::string& path) {
  const std::string file = FollowLinks(path);
  const FolderAndName parts = Split(file);
  const auto [entry, first] = folders_.try_emplace(parts.folder);
  if (first) entry->second = FolderIdentity(parts.folder);
  // Without the folder nothing can be written there, so any key keeps the outcome.
  if (entry->second.empty()) return AsciiLowerCase(file);
  return entry->second + "/" + AsciiLowerCase(parts.name);
}

}  // namespace varnel::tool
