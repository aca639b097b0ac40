#include "hid/fd_hid_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace vorlin {
namespace {

using Clock = std::chrono::steady_clock;

constexpr short kHangUp = POLLHUP | POLLERR | POLLNVAL;

bool WouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK;
}

// Milliseconds to hand to poll() so that it does not wake before `deadline`: rounded up, never
// negative, and capped at what an int holds (the loop simply polls again for longer waits).
int PollTimeout(Clock::time_point deadline) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace

std::unique_ptr<FdHidChannel> FdHidChannel::Adopt(int fd) {
  if (fd < 0) return nullptr;
  const int abortFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (abortFd < 0) {
    ::close(fd);
    return nullptr;
  }
  struct stat st {};
  const bool isSocket = ::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode);
  if (!isSocket) {
    // A read or write issued after poll() said "ready" must not block if another party took the
    // data first; sockets get the same through MSG_DONTWAIT without changing the shared flags.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0 && !(flags & O_NONBLOCK)) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  }
  return std::make_unique<FdHidChannel>(Token{}, fd, abortFd, isSocket);
}

FdHidChannel::FdHidChannel(Token, int fd, int abortFd, bool isSocket)
    : fd_(fd), abortFd_(abortFd), isSocket_(isSocket) {}

FdHidChannel::~FdHidChannel() {
  ::close(fd_);
  ::close(abortFd_);
}

void FdHidChannel::Abort() {
  aborted_.store(true, std::memory_order_release);
  const uint64_t one = 1;
  // The eventfd only has to become readable; a full counter (EAGAIN) already is.
  while (::write(abortFd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

IoResult FdHidChannel::Wait(short events, Clock::time_point start, int timeoutMs,
                            short& revents) const {
  const bool limited = timeoutMs >= 0;
  const Clock::time_point deadline = start + std::chrono::milliseconds(limited ? timeoutMs : 0);
  pollfd fds[2] = {{fd_, events, 0}, {abortFd_, POLLIN, 0}};
  for (;;) {
    if (aborted_.load(std::memory_order_acquire)) return IoResult::Aborted;
    fds[0].revents = 0;
    fds[1].revents = 0;
    const int n = ::poll(fds, 2, limited ? PollTimeout(deadline) : -1);
    if (n < 0) {
      if (errno == EINTR) continue;  // resumed with the time that is left
      return IoResult::Error;
    }
    if (fds[1].revents != 0) return IoResult::Aborted;
    if (n == 0) {
      // poll() may wake a little early on coarse clocks; a timeout is only reported once the
      // whole wait has passed.
      if (Clock::now() >= deadline) return IoResult::Timeout;
      continue;
    }
    revents = fds[0].revents;
    if (revents & events) return IoResult::Ok;  // queued data goes before a hang-up
    if (revents & kHangUp) return IoResult::Error;
  }
}

IoResult FdHidChannel::ReadReport(std::span<uint8_t> buffer, size_t& received, int timeoutMs) {
  received = 0;
  const Clock::time_point start = Clock::now();
  if (aborted_.load(std::memory_order_acquire)) return IoResult::Aborted;
  // A zero-length read would consume a whole report on a socket and read as the end of the
  // stream; there is nothing sensible to deliver into no room.
  if (buffer.empty()) return IoResult::Error;
  for (;;) {
    short revents = 0;
    if (const IoResult waited = Wait(POLLIN, start, timeoutMs, revents); waited != IoResult::Ok)
      return waited;
    const ssize_t n = isSocket_ ? ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT)
                                : ::read(fd_, buffer.data(), buffer.size());
    if (n > 0) {
      received = static_cast<size_t>(n);
      return IoResult::Ok;
    }
    if (n == 0) return IoResult::Error;  // end of stream: the peer closed its end
    if (errno == EINTR) continue;
    if (WouldBlock(errno) && !(revents & kHangUp)) continue;  // spurious wake-up: wait again
    return IoResult::Error;                                   // ENODEV, EIO: the device is gone
  }
}

IoResult FdHidChannel::WriteReport(std::span<const uint8_t> report, int timeoutMs) {
  const Clock::time_point start = Clock::now();
  if (aborted_.load(std::memory_order_acquire)) return IoResult::Aborted;
  if (report.empty()) return IoResult::Error;
  for (;;) {
    short revents = 0;
    if (const IoResult waited = Wait(POLLOUT, start, timeoutMs, revents); waited != IoResult::Ok)
      return waited;
    const ssize_t n = isSocket_
                          ? ::send(fd_, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL)
                          : ::write(fd_, report.data(), report.size());
    if (n >= 0) {
      // Reports travel whole; a part of one is no report at all.
      return static_cast<size_t>(n) == report.size() ? IoResult::Ok : IoResult::Error;
    }
    if (errno == EINTR) continue;
    if (WouldBlock(errno) && !(revents & kHangUp)) continue;
    return IoResult::Error;
  }
}

}  // namespace vorlin
