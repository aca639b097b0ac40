#pragma once

// The shared state behind VirtualHidBus and its channels. Channels keep it alive through a
// shared_ptr, so a channel that outlives its bus still has valid state to report Error from.
// Everything here is guarded by `mutex`; the *Locked functions expect it to be held.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hid/virtual_bus.h"

namespace vorlin {

// Input reports a channel keeps before the oldest is dropped, like the kernel's per-reader buffer.
inline constexpr size_t kVirtualChannelQueueLimit = 256;
// Trace records kept by default before the oldest is dropped; a long demo session must not grow
// without bound.
inline constexpr size_t kDefaultTraceLimit = 65536;

// The part of an open channel that the bus touches: its input queue and the wake-up of its waits.
struct VirtualChannelState {
  bool forRead = false;
  bool forWrite = false;
  bool exclusive = false;
  bool aborted = false;
  std::deque<std::vector<uint8_t>> queue;
  // Signalled on a new report, an abort and a detach.
  std::condition_variable changed;
};

struct VirtualNode {
  std::string name;
  VirtualInterfaceSpec spec;
  std::shared_ptr<VirtualEndpoint> endpoint;  // released on detach
  bool attached = true;
  bool heldExclusive = false;
  std::vector<VirtualChannelState*> channels;  // every open channel, registered until it closes
};

struct VirtualBusCore {
  std::mutex mutex;
  std::condition_variable traceChanged;
  std::condition_variable timerWake;

  std::vector<std::shared_ptr<VirtualNode>> nodes;  // attached nodes in attach order
  uint64_t nextNodeNumber = 1;

  std::deque<TraceRecord> trace;
  size_t traceLimit = kDefaultTraceLimit;
  uint64_t nextSequence = 1;
  uint64_t tracedSinceClear = 0;

  struct PendingInput {
    std::shared_ptr<VirtualNode> node;
    std::vector<uint8_t> bytes;
  };
  // Delayed input reports by (due time, order of SendInput), so equal due times keep their order.
  std::map<std::pair<std::chrono::steady_clock::time_point, uint64_t>, PendingInput> pending;
  uint64_t nextPendingOrder = 0;
  bool stopping = false;

  std::shared_ptr<VirtualNode> FindLocked(std::string_view name) const;
  void RecordLocked(TraceDirection direction, const VirtualNode& node,
                    std::span<const uint8_t> bytes);
  // Records the report once and queues a copy on every channel open for reading on the node.
  void DeliverLocked(VirtualNode& node, std::span<const uint8_t> bytes);
  // Marks the node gone, wakes its channels and hands back its endpoint, which the caller releases
  // after unlocking (an endpoint's destructor may call into the bus).
  std::shared_ptr<VirtualEndpoint> DetachLocked(std::shared_ptr<VirtualNode> node);

  // Body of the bus's timer thread: delivers delayed reports when due until `stopping`.
  void RunTimer();
};

}  // namespace vorlin
