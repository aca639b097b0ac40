#include "devices/blocking_ui_call.h"

#include <poll.h>

#include <atomic>
#include <cerrno>
#include <memory>

#include <QThread>

#include "devices/mailbox.h"
#include "platform/stop_event.h"

namespace vorlin {

namespace {

// Shared between the waiting thread and the queued call; whichever ends last frees it.
struct CallState {
  StopEvent done;
  std::atomic<bool> abandoned{false};
};

// Sets `done` when destroyed: a call the mailbox drops (it was destroyed) still ends the wait.
// Built in place only: a copy would end the wait when the temporary goes.
struct DoneOnExit {
  explicit DoneOnExit(std::shared_ptr<CallState> s) : state(std::move(s)) {}
  DoneOnExit(const DoneOnExit&) = delete;
  DoneOnExit& operator=(const DoneOnExit&) = delete;
  std::shared_ptr<CallState> state;
  ~DoneOnExit() {
    if (state) state->done.Set();
  }
};

}  // namespace

BlockingCallResult BlockingUiCall(Mailbox& mailbox, std::function<void()> function,
                                  const StopEvent& abort) {
  if (mailbox.thread() == QThread::currentThread()) {
    function();
    return BlockingCallResult::kRan;
  }
  auto state = std::make_shared<CallState>();
  auto guard = std::make_shared<DoneOnExit>(state);
  auto ran = std::make_shared<std::atomic<bool>>(false);
  mailbox.Post([guard, ran, function = std::move(function)]() mutable {
    if (!guard->state->abandoned.load()) {
      function();
      ran->store(true);
    }
    guard.reset();  // ends the wait now, not when the mailbox lets go of the call
  });
  guard.reset();  // only the queued functor holds it now

  pollfd fds[2] = {{state->done.Fd(), POLLIN, 0}, {abort.Fd(), POLLIN, 0}};
  for (;;) {
    const int n = ::poll(fds, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (state->done.IsSet()) break;
    if (n < 0 || abort.IsSet()) {
      // The owner is stopping the worker from the target thread: either the function has not
      // started (and, marked abandoned, never will) or the stop was made from inside it. Either
      // way the worker ends now without waiting for the target thread.
      state->abandoned.store(true);
      return state->done.IsSet() && ran->load() ? BlockingCallResult::kRan
                                                : BlockingCallResult::kAborted;
    }
  }
  return ran->load() ? BlockingCallResult::kRan : BlockingCallResult::kContextGone;
}

}  // namespace vorlin
