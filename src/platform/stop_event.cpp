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
  const uint64_t one = 1;
  // The counter only needs to be non-zero; a full counter (EAGAIN) is still "set".
  while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void StopEvent::Reset() {
  uint64_t value = 0;
  while (::read(fd_, &value, sizeof value) < 0 && errno == EINTR) {
  }
}

bool StopEvent::IsSet() const { return Wait(0); }

bool StopEvent::Wait(int timeoutMs) const {
  pollfd p{fd_, POLLIN, 0};
  for (;;) {
    const int n = ::poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

int WaitForEither(const StopEvent& first, const StopEvent& second, int timeoutMs) {
  pollfd p[2] = {{first.Fd(), POLLIN, 0}, {second.Fd(), POLLIN, 0}};
  for (;;) {
    const int n = ::poll(p, 2, timeoutMs < 0 ? -1 : timeoutMs);
    if (n > 0) return (p[0].revents & POLLIN) ? 1 : 2;
    if (n == 0 || errno != EINTR) return 0;
  }
}

}  // namespace vorlin
