#pragma once

// Runs a function on the thread of a QObject (the UI thread) and waits for it, the way a message
// sent from a worker thread to a window waits for the window to handle it. The wait also ends when
// `abort` is set: the owner of a worker usually stops it from the UI thread itself, and a worker
// waiting for that thread would otherwise hold the stop up until its bound. After an abort the
// function does not run any more (it is dropped when its turn comes).

#include <functional>

class QObject;

namespace vorlin {

class StopEvent;

enum class BlockingCallResult { kRan, kAborted, kContextGone };

// `context` lives on the target thread; when it is destroyed before the call runs, the call is
// dropped and the wait ends. Must not be called on the context's own thread (it would wait for
// itself); there the function simply runs at once.
BlockingCallResult BlockingUiCall(QObject* context, std::function<void()> function,
                                  const StopEvent& abort);

}  // namespace vorlin
