#include "hid/virtual_bus_core.h"

#include <algorithm>

namespace vorlin {

std::shared_ptr<VirtualNode> VirtualBusCore::FindLocked(std::string_view name) const {
  for (const auto& node : nodes)
    if (node->name == name) return node;
  return nullptr;
}

void VirtualBusCore::RecordLocked(TraceDirection direction, const VirtualNode& node,
                                  std::span<const uint8_t> bytes) {
  // The sequence number advances even when tracing is off, so numbers stay comparable.
  const uint64_t sequence = nextSequence++;
  if (traceLimit == 0) return;
  if (trace.size() >= traceLimit) trace.pop_front();
  TraceRecord record;
  record.sequence = sequence;
  record.direction = direction;
  record.node = node.name;
  record.vendorId = node.spec.vendorId;
  record.productId = node.spec.productId;
  record.interfaceNumber = node.spec.interfaceNumber;
  record.collectionNumber = node.spec.collectionNumber;
  record.bytes.assign(bytes.begin(), bytes.end());
  trace.push_back(std::move(record));
  ++tracedSinceClear;
  traceChanged.notify_all();
}

void VirtualBusCore::DeliverLocked(VirtualNode& node, std::span<const uint8_t> bytes) {
  RecordLocked(TraceDirection::ToHost, node, bytes);
  for (VirtualChannelState* channel : node.channels) {
    if (!channel->forRead) continue;
    if (channel->queue.size() >= kVirtualChannelQueueLimit) channel->queue.pop_front();
    channel->queue.emplace_back(bytes.begin(), bytes.end());
    channel->changed.notify_all();
  }
}

// `node` is taken by value: the caller's reference may be the very entry erased below.
std::shared_ptr<VirtualEndpoint> VirtualBusCore::DetachLocked(std::shared_ptr<VirtualNode> node) {
  node->attached = false;
  for (VirtualChannelState* channel : node->channels) channel->changed.notify_all();
  nodes.erase(std::remove(nodes.begin(), nodes.end(), node), nodes.end());
  // Reports still waiting in the timer for this node are dropped when they come due; removing
  // them here keeps the node (and its buffers) from lingering until then.
  for (auto it = pending.begin(); it != pending.end();)
    it = it->second.node == node ? pending.erase(it) : std::next(it);
  return std::move(node->endpoint);
}

void VirtualBusCore::RunTimer() {
  std::unique_lock lock(mutex);
  while (!stopping) {
    if (pending.empty()) {
      timerWake.wait(lock);
      continue;
    }
    const auto due = pending.begin()->first.first;
    if (std::chrono::steady_clock::now() < due) {
      timerWake.wait_until(lock, due);
      continue;
    }
    PendingInput input = std::move(pending.begin()->second);
    pending.erase(pending.begin());
    if (input.node->attached) DeliverLocked(*input.node, input.bytes);
  }
}

}  // namespace vorlin
