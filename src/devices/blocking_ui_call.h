#pragma once

// Runs a function on the thread of a QObject (the UI thread) and waits for it, the way a message
// sent from a worker thread to a window waits for the window to handle it. The wait also ends when
// `abort` is set: the owner of a worker usually stops it from the UI thread itself, and a worker
// waiting for that thread would otherwise hold the stop up until its bound. After an abort the
// function does not run any more (it is dropped when its turn comes).

#include <functional>

namespace vorlin {

class Mailbox;
class StopEvent;

enum class BlockingCallResult { kRan, kAborted, kContextGone };

// The call goes through `mailbox` (on the target thread); when the mailbox is destroyed before the
// call runs, the call is dropped and the wait ends. On the mailbox's own thread the function
// simply runs at once (waiting there would wait for itself).
BlockingCallResult BlockingUiCall(Mailbox& mailbox, std::function<void()> function,
                                  const StopEvent& abort);

}  // namespace vorlin
