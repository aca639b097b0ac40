#pragma once

// A manual-reset event that other threads can wait on, and that poll() can watch through Fd().
// Workers block on it (alone or beside their own file descriptors) instead of waking up to check
// a flag, so an idle program does not spin and every stop ends a wait at once.
//
// Setting the event also publishes what the setting thread wrote before: a thread that sees it set
// (IsSet, Wait, WaitForEither; or poll() on Fd() followed by IsSet) sees those writes. An atomic
// beside the descriptor carries that order, so that ThreadSanitizer sees it too.

#include <atomic>

namespace vorlin {

class StopEvent {
 public:
  StopEvent();
  ~StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // Waits until the event is set or timeoutMs passes (negative: no limit). True when set.
  bool Wait(int timeoutMs) const;
  // Readable while the event is set; valid for the object's lifetime.
  int Fd() const { return fd_; }

 private:
  int fd_ = -1;
  std::atomic<bool> set_{false};
};

// Waits until `first` or `second` is set, or timeoutMs passes (negative: no limit). Returns 1 when
// `first` is set, 2 when only `second` is, 0 on timeout.
int WaitForEither(const StopEvent& first, const StopEvent& second, int timeoutMs);

}  // namespace vorlin
