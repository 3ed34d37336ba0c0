#include "output_file_key.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace varnel::tool {
namespace {

namespace fs = std::filesystem;

// As many links as Linux follows in one path before it gives up (ELOOP).
constexpr int kMostLinks = 40;

// The file the library would create or replace: the end of the chain of links at the path.
fs::path FollowLinks(fs::path file) {
  std::error_code error;
  for (int links = 0; links < kMostLinks && fs::is_symlink(fs::symlink_status(file, error)); ++links) {
    const fs::path target = fs::read_symlink(file, error);
    if (error) break;
    file = file.parent_path() / target;  // an absolute target replaces the whole path
  }
  return file;
}

std::string AsciiLowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::string OutputFileKey(const std::string& path) {
  const fs::path file = FollowLinks(path);
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  const std::string name = AsciiLowerCase(file.filename().string());
  // The folder by its identity, which every way of reaching it shares.
  struct stat identity{};
  if (::stat(folder.c_str(), &identity) == 0) {
    return std::to_string(identity.st_dev) + ":" + std::to_string(identity.st_ino) + "/" + name;
  }
  // No such folder, so nothing can be written there: any key keeps the outcome.
  return AsciiLowerCase(file.string());
}

}  // namespace varnel::tool
