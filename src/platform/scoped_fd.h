#pragma once

#include <unistd.h>

#include <utility>

namespace vorlin {

// Owns a file descriptor and closes it when it goes out of scope.
class ScopedFd {
 public:
  explicit ScopedFd(int fd) : fd_(fd) {}
  ~ScopedFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
  int get() const { return fd_; }
  // Hands the descriptor to a new owner.
  int release() { return std::exchange(fd_, -1); }
  // Closes now and reports whether the close succeeded: a late write error shows up here.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

}  // namespace vorlin
