#include "app/thread_table.h"

#include "platform/log.h"

namespace vorlin {

bool ThreadTable::Set(size_t slot, Worker worker) {
  if (slot >= kSlots || IsSet(slot) || !worker.wait) return false;
  slots_[slot] = std::move(worker);
  return true;
}

std::array<StopOutcome, ThreadTable::kSlots> ThreadTable::StopAll(std::chrono::milliseconds bound) {
  std::array<StopOutcome, kSlots> outcomes;
  outcomes.fill(StopOutcome::kEnded);
  for (Worker& worker : slots_) {
    if (worker.wait && worker.signal) worker.signal();
  }
  for (size_t slot = 0; slot < kSlots; ++slot) {
    Worker& worker = slots_[slot];
    if (!worker.wait) continue;
    outcomes[slot] = worker.wait(bound);
    switch (outcomes[slot]) {
      case StopOutcome::kEnded:
        qCDebug(lcVorlin) << "worker" << slot << "ended";
        break;
      case StopOutcome::kTimedOut:
        qCWarning(lcVorlin) << "worker" << slot << "did not end in time";
        break;
      case StopOutcome::kFailed:
        qCWarning(lcVorlin) << "worker" << slot << "cannot be waited for";
        break;
    }
    worker = {};
  }
  return outcomes;
}

}  // namespace vorlin
