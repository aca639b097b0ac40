#pragma once

// A channel open on a virtual bus node: the counterpart of an open hidraw file descriptor.

#include <memory>

#include "hid/hid_backend.h"
#include "hid/virtual_bus_core.h"

namespace vorlin {

class VirtualChannel : public HidChannel {
 public:
  // Registers the channel on the node; the caller holds core->mutex.
  VirtualChannel(std::shared_ptr<VirtualBusCore> core, std::shared_ptr<VirtualNode> node,
                 bool forRead, bool forWrite, bool exclusive);
  ~VirtualChannel() override;
  VirtualChannel(const VirtualChannel&) = delete;
  VirtualChannel& operator=(const VirtualChannel&) = delete;

  IoResult ReadReport(std::span<uint8_t> buffer, size_t& received, int timeoutMs) override;
  IoResult WriteReport(std::span<const uint8_t> report, int timeoutMs) override;
  void Abort() override;

 private:
  // Waits on the channel's condition until `done` holds or timeoutMs passes (negative: no limit).
  template <typename Predicate>
  bool WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs, Predicate done);

  std::shared_ptr<VirtualBusCore> core_;
  std::shared_ptr<VirtualNode> node_;
  VirtualChannelState state_;
};

}  // namespace vorlin
