#include "platform/stop_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace vorlin {

StopEvent::StopEvent() {
  fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd_ < 0) std::abort();  // out of descriptors at construction: nothing sensible to fall back to
}

StopEvent::~StopEvent() { ::close(fd_); }

void StopEvent::Set() {
  set_.store(true, std::memory_order_release);
  const uint64_t one = 1;
  // The counter only needs to be non-zero; a full counter (EAGAIN) is still "set".
  while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void StopEvent::Reset() {
  set_.store(false, std::memory_order_relaxed);
  uint64_t value = 0;
  while (::read(fd_, &value, sizeof value) < 0 && errno == EINTR) {
  }
}

bool StopEvent::IsSet() const { return Wait(0); }

bool StopEvent::Wait(int timeoutMs) const {
  pollfd p{fd_, POLLIN, 0};
  for (;;) {
    const int n = ::poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (n > 0) {
      // The setter's writes before Set are seen from here on.
      set_.load(std::memory_order_acquire);
      return true;
    }
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

int WaitForEither(const StopEvent& first, const StopEvent& second, int timeoutMs) {
  pollfd p[2] = {{first.Fd(), POLLIN, 0}, {second.Fd(), POLLIN, 0}};
  for (;;) {
    const int n = ::poll(p, 2, timeoutMs < 0 ? -1 : timeoutMs);
    if (n > 0) {
      // Wait(0) on the event that is set takes over what its setter wrote before.
      if (p[0].revents & POLLIN) return first.Wait(0) ? 1 : 0;
      return second.Wait(0) ? 2 : 0;
    }
    if (n == 0 || errno != EINTR) return 0;
  }
}

}  // namespace vorlin
