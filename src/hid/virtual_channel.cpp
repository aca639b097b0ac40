#include "hid/virtual_channel.h"

#include <algorithm>
#include <chrono>

namespace vorlin {

VirtualChannel::VirtualChannel(std::shared_ptr<VirtualBusCore> core,
                               std::shared_ptr<VirtualNode> node, bool forRead, bool forWrite,
                               bool exclusive)
    : core_(std::move(core)), node_(std::move(node)) {
  state_.forRead = forRead;
  state_.forWrite = forWrite;
  state_.exclusive = exclusive;
  node_->channels.push_back(&state_);
  if (exclusive) node_->heldExclusive = true;
}

VirtualChannel::~VirtualChannel() {
  std::lock_guard lock(core_->mutex);
  auto& channels = node_->channels;
  channels.erase(std::remove(channels.begin(), channels.end(), &state_), channels.end());
  if (state_.exclusive) node_->heldExclusive = false;
}

template <typename Predicate>
bool VirtualChannel::WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs, Predicate done) {
  if (timeoutMs < 0) {
    state_.changed.wait(lock, done);
    return true;
  }
  return state_.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
}

IoResult VirtualChannel::ReadReport(std::span<uint8_t> buffer, size_t& received, int timeoutMs) {
  received = 0;
  std::unique_lock lock(core_->mutex);
  if (state_.aborted) return IoResult::Aborted;
  if (!node_->attached || !state_.forRead) return IoResult::Error;
  WaitLocked(lock, timeoutMs,
             [&] { return state_.aborted || !node_->attached || !state_.queue.empty(); });
  if (state_.aborted) return IoResult::Aborted;
  if (!node_->attached) return IoResult::Error;
  if (state_.queue.empty()) return IoResult::Timeout;
  const std::vector<uint8_t> report = std::move(state_.queue.front());
  state_.queue.pop_front();
  received = std::min(buffer.size(), report.size());
  std::copy_n(report.begin(), received, buffer.begin());
  return IoResult::Ok;
}

IoResult VirtualChannel::WriteReport(std::span<const uint8_t> report, int timeoutMs) {
  std::shared_ptr<VirtualEndpoint> endpoint;
  {
    std::lock_guard lock(core_->mutex);
    if (state_.aborted) return IoResult::Aborted;
    if (!node_->attached || !state_.forWrite) return IoResult::Error;
    endpoint = node_->endpoint;
    // Recorded before the device sees it, so that an answer sent from inside OnOutputReport
    // follows its request in the trace.
    core_->RecordLocked(TraceDirection::ToDevice, *node_, report);
  }
  // No bus lock here: the device may answer through SendInput from inside the call.
  const WriteOutcome outcome =
      endpoint ? endpoint->OnOutputReport(node_->name, report) : WriteOutcome::Accept;
  switch (outcome) {
    case WriteOutcome::Accept:
      return IoResult::Ok;
    case WriteOutcome::Fail:
      return IoResult::Error;
    case WriteOutcome::Stall:
      break;
  }
  std::unique_lock lock(core_->mutex);
  WaitLocked(lock, timeoutMs, [&] { return state_.aborted || !node_->attached; });
  if (state_.aborted) return IoResult::Aborted;
  if (!node_->attached) return IoResult::Error;
  return IoResult::Timeout;
}

void VirtualChannel::Abort() {
  std::lock_guard lock(core_->mutex);
  state_.aborted = true;
  state_.changed.notify_all();
}

}  // namespace vorlin
