#pragma once

// The main window's worker threads: a fixed table of slots (slot 0 the discovery scanner, slot 8
// the lighting sync thread), each with a way to ask the thread to stop and a bounded wait for it.
// Shutdown first signals every started slot, then waits for each in slot order, logging the
// outcome. No thread is ever killed: a worker that outlives its bound is logged, and its owner's
// own stop (which waits on) is what finally joins it.

#include <array>
#include <chrono>
#include <functional>

namespace vorlin {

enum class StopOutcome { kEnded, kTimedOut, kFailed };

class ThreadTable {
 public:
  static constexpr size_t kSlots = 20;
  static constexpr size_t kScannerSlot = 0;
  static constexpr size_t kLightingSyncSlot = 8;
  static constexpr std::chrono::milliseconds kStopBound{1000};

  struct Worker {
    std::function<void()> signal;  // sets the worker's stop event (may be empty)
    std::function<StopOutcome(std::chrono::milliseconds bound)> wait;
  };

  // Puts a started worker into a slot. False when the slot is out of range or taken.
  bool Set(size_t slot, Worker worker);
  bool IsSet(size_t slot) const { return slot < kSlots && static_cast<bool>(slots_[slot].wait); }

  // Signals every worker, then waits for each (at most `bound` each), logs, and empties the table.
  // Returns the outcome per slot (kEnded for empty slots).
  std::array<StopOutcome, kSlots> StopAll(std::chrono::milliseconds bound = kStopBound);

 private:
  std::array<Worker, kSlots> slots_;
};

}  // namespace vorlin
