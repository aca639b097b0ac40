#include "hid/virtual_bus.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "hid/virtual_bus_core.h"
#include "hid/virtual_channel.h"
#include "platform/stop_event.h"

namespace vorlin {

struct VirtualHidBus::State {
  std::shared_ptr<VirtualBusCore> core = std::make_shared<VirtualBusCore>();
  std::thread timer;
  // Set on every attach and detach, so the discovery scanner can sleep until something changes.
  StopEvent changed;
};

namespace {
HidNodeInfo InfoOf(const VirtualNode& node) {
  HidNodeInfo info;
  info.node = node.name;
  info.vendorId = node.spec.vendorId;
  info.productId = node.spec.productId;
  info.versionNumber = node.spec.versionNumber;
  info.interfaceNumber = node.spec.interfaceNumber;
  info.collectionNumber = node.spec.collectionNumber;
  info.reportDescriptor = node.spec.reportDescriptor;
  return info;
}
}  // namespace

VirtualHidBus::VirtualHidBus() : state_(std::make_shared<State>()) {
  state_->timer = std::thread([core = state_->core] { core->RunTimer(); });
}

VirtualHidBus::~VirtualHidBus() {
  // The bus going away is every device unplugged at once: channels still open elsewhere see their
  // node detached and fail with Error instead of waiting for reports that can no longer come.
  std::vector<std::shared_ptr<VirtualEndpoint>> released;
  {
    auto& core = *state_->core;
    std::lock_guard lock(core.mutex);
    core.stopping = true;
    while (!core.nodes.empty()) released.push_back(core.DetachLocked(core.nodes.back()));
    core.pending.clear();
    core.timerWake.notify_all();
  }
  state_->timer.join();
}

std::string VirtualHidBus::Attach(const VirtualInterfaceSpec& spec,
                                  std::shared_ptr<VirtualEndpoint> endpoint) {
  auto node = std::make_shared<VirtualNode>();
  node->spec = spec;
  node->endpoint = std::move(endpoint);
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  node->name = "vbus/" + std::to_string(core.nextNodeNumber++);
  core.nodes.push_back(node);
  state_->changed.Set();
  return node->name;
}

void VirtualHidBus::Detach(const std::string& node) {
  std::shared_ptr<VirtualEndpoint> released;
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  if (auto found = core.FindLocked(node)) released = core.DetachLocked(found);
  state_->changed.Set();
  // `released` is declared before the lock, so the endpoint is destroyed after unlocking.
}

int VirtualHidBus::ChangeFd() { return state_->changed.Fd(); }

void VirtualHidBus::ClearChange() { state_->changed.Reset(); }

bool VirtualHidBus::SendInput(const std::string& node, std::span<const uint8_t> report,
                              int delayMs) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  auto found = core.FindLocked(node);
  if (!found) return false;
  if (delayMs <= 0) {
    core.DeliverLocked(*found, report);
    return true;
  }
  const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs);
  core.pending.emplace(std::make_pair(due, core.nextPendingOrder++),
                       VirtualBusCore::PendingInput{found, {report.begin(), report.end()}});
  core.timerWake.notify_all();
  return true;
}

std::vector<TraceRecord> VirtualHidBus::Trace() const {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  return {core.trace.begin(), core.trace.end()};
}

void VirtualHidBus::ClearTrace() {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  core.trace.clear();
  core.tracedSinceClear = 0;
}

bool VirtualHidBus::WaitForTrace(size_t count, int timeoutMs) const {
  auto& core = *state_->core;
  std::unique_lock lock(core.mutex);
  const auto enough = [&] { return core.tracedSinceClear >= count; };
  if (timeoutMs < 0) {
    core.traceChanged.wait(lock, enough);
    return true;
  }
  return core.traceChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), enough);
}

void VirtualHidBus::SetTraceLimit(size_t maxRecords) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  core.traceLimit = maxRecords;
  while (core.trace.size() > maxRecords) core.trace.pop_front();
}

bool VirtualHidBus::ListNodes(std::vector<HidNodeInfo>& nodes) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  nodes.clear();
  for (const auto& node : core.nodes) nodes.push_back(InfoOf(*node));
  return true;
}

bool VirtualHidBus::QueryNode(std::string_view node, HidNodeInfo& info) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  const auto found = core.FindLocked(node);
  if (!found) return false;
  info = InfoOf(*found);
  return true;
}

std::unique_ptr<HidChannel> VirtualHidBus::OpenNode(std::string_view node, bool forRead,
                                                    bool forWrite, bool exclusive) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  auto found = core.FindLocked(node);
  if (!found) return nullptr;
  // An exclusive holder shuts out every later open, and an exclusive open needs the node unused.
  if (found->heldExclusive || (exclusive && !found->channels.empty())) return nullptr;
  return std::make_unique<VirtualChannel>(state_->core, std::move(found), forRead, forWrite,
                                          exclusive);
}

bool VirtualHidBus::NodePresent(std::string_view node) {
  auto& core = *state_->core;
  std::lock_guard lock(core.mutex);
  return core.FindLocked(node) != nullptr;
}

}  // namespace vorlin
