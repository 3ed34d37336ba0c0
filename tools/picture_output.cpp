#include "picture_output.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnel::tool {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as any program's new file

std::string TooLarge(const OutputFormat& format, Pair size) {
  if (format.largestSide == 0 || (size.first <= format.largestSide && size.second <= format.largestSide)) return {};
  return "a " + std::string(format.name) + " picture is at most " + std::to_string(format.largestSide) +
         " pixels a side, and this one is " + std::to_string(size.first) + "x" + std::to_string(size.second);
}

// The picture in the format, rendered once into a buffer each thread keeps for its next picture, as
// a batch renders many of much the same size; empty when the library cannot render it. The bytes
// last until the thread's next picture.
std::span<const char> RenderedBytes(VnContext* context, const OutputFormat& format) {
  thread_local std::vector<char> buffer(64 * 1024);
  int size = VnCtxRenderToMemory(context, format.memoryFormat, buffer.data(), static_cast<int>(buffer.size()));
  if (size > static_cast<int>(buffer.size())) {
    // Too large for the buffer: the library kept the picture, and copies it without rendering again.
    buffer.resize(static_cast<std::size_t>(size));
    size = VnCtxRenderToMemory(context, format.memoryFormat, buffer.data(), size);
  }
  return std::span<const char>(buffer.data(), static_cast<std::size_t>(std::max(size, 0)));
}

bool WriteAll(int fd, std::span<const char> bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

std::string SystemReason() { return std::strerror(errno); }

std::string WrittenAndClosed(int fd, std::span<const char> bytes) {
  std::string problem = WriteAll(fd, bytes) ? std::string() : SystemReason();
  if (::close(fd) != 0 && problem.empty()) problem = SystemReason();
  return problem;
}

// A new file, a batch's usual case, is created exclusively: then nothing was at the path, and the
// file is a regular one of ours and empty, with no need to look at it. Anything already there is
// opened without truncating, so that a device or a pipe at the path is refused before anything is
// done to it; only a regular file is emptied.
std::string WriteFile(const std::string& path, std::span<const char> bytes) {
  const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
  if (created >= 0) return WrittenAndClosed(created, bytes);
  if (errno != EEXIST) return SystemReason();

  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, kNewFileMode);
  if (fd < 0) return SystemReason();
  struct stat status{};
  std::string problem;
  if (::fstat(fd, &status) != 0) {
    problem = SystemReason();
  } else if (!S_ISREG(status.st_mode)) {
    problem = "not a regular file";
  } else if (status.st_size > 0 && ::ftruncate(fd, 0) != 0) {
    problem = SystemReason();
  }
  if (!problem.empty()) {
    ::close(fd);
    return problem;
  }
  return WrittenAndClosed(fd, bytes);
}

std::string WriteStandardOutput(std::span<const char> bytes) {
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    return SystemReason();
  }
  return {};
}

}  // namespace

std::string SavePicture(VnContext* context, const std::string& path, const OutputFormat& format, Pair size) {
  const bool toStandardOutput = path == kStandardOutput;
  const std::string target = toStandardOutput ? "standard output" : path;
  std::string problem = TooLarge(format, size);
  if (problem.empty()) {
    const std::span<const char> bytes = RenderedBytes(context, format);
    if (bytes.empty()) {
      problem = "the picture is too large for the memory there is";
    } else {
      problem = toStandardOutput ? WriteStandardOutput(bytes) : WriteFile(path, bytes);
    }
  }
  return problem.empty() ? std::string() : "cannot write " + target + ": " + problem;
}

}  // namespace varnel::tool
