// A file descriptor that is closed when its owner goes, on every path out of a save.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace varnel {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

  // Closes now and says whether the close succeeded: a full disk may only show itself here.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  // On the way out of a failed save: errno keeps the failure's reason, not the close's.
  void Reset() {
    if (fd_ < 0) return;
    const int reason = errno;
    ::close(std::exchange(fd_, -1));
    errno = reason;
  }

  int fd_ = -1;
};

}  // namespace varnel
