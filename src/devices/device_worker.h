#pragma once

// The pattern every worker thread of a device follows (the lighting worker, the event readers):
// a thread with a stop event of its own, created at each start, which the thread's body watches in
// every wait. Stopping sets the event and waits a bounded time for the thread to end, logging how
// it ended. A thread is never killed: every wait a body makes is abortable (its stop event, or an
// interface whose Close ends a waiting read), so a thread that is late is waited for until it
// ends, after the timeout has been logged.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/stop_event.h"

namespace vorlin {

class DeviceWorker {
 public:
  // The thread's body; it returns once `stop` is set.
  using Body = std::function<void(const StopEvent& stop)>;

  enum class StopOutcome { kNotRunning, kEnded, kLate };

  // `exitLog` is written by the thread when its body has returned.
  explicit DeviceWorker(std::string exitLog);
  ~DeviceWorker();  // stops the thread within the default bound
  DeviceWorker(const DeviceWorker&) = delete;
  DeviceWorker& operator=(const DeviceWorker&) = delete;

  static constexpr std::chrono::milliseconds kDefaultBound{1000};

  // Starts the body on a new thread, stopping a running one first. Start and Stop belong to the
  // owner's thread.
  void Start(Body body);
  // Sets the stop event and waits for the thread: kEnded when it ended within `bound`, kLate when
  // it needed longer (it has ended when Stop returns in either case).
  StopOutcome Stop(std::chrono::milliseconds bound = kDefaultBound);
  bool Running() const { return thread_.joinable(); }

  // The stop event of the running thread (set from Stop until the next Start).
  const StopEvent& StopSignal() const { return stop_; }

 private:
  std::string exit_log_;
  StopEvent stop_;
  StopEvent finished_;
  std::thread thread_;
};

}  // namespace vorlin
