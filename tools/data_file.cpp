#include "data_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace varnel::tool {
namespace {

// Far more than any data the library takes, even as UTF-8, so that a device that never ends is
// refused rather than read until memory runs out.
constexpr std::size_t kMostBytes = 64 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string WithoutLineEnd(std::string data) {
  if (data.ends_with("\r\n")) {
    data.resize(data.size() - 2);
  } else if (data.ends_with('\n')) {
    data.pop_back();
  }
  return data;
}

}  // namespace

DataFile ReadDataFile(const std::string& path) {
  const bool standardInput = path == "-";
  const std::string name = standardInput ? "standard input" : path;
  std::unique_ptr<std::FILE, FileCloser> opened;
  if (!standardInput) {
    errno = 0;
    opened.reset(std::fopen(path.c_str(), "rb"));
    if (!opened) return {{}, "cannot read " + name + ": " + std::strerror(errno)};
  }
  std::FILE* file = standardInput ? stdin : opened.get();
  std::string data;
  char buffer[4096];
  errno = 0;
  for (std::size_t got; data.size() <= kMostBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    data.append(buffer, got);
  }
  if (std::ferror(file)) return {{}, "cannot read " + name + ": " + std::strerror(errno)};
  if (data.size() > kMostBytes) return {{}, name + " holds more than " + std::to_string(kMostBytes) + " bytes"};
  return {WithoutLineEnd(std::move(data)), {}};
}

}  // namespace varnel::tool
