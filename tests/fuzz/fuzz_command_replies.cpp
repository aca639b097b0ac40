// Replies with any byte values: the link's commands must return a result code and never read or
// write outside their buffers. Every request is answered with two replies cut from the input. A
// reply the input has spoilt (another report id) never reaches the link, which then waits out its
// read: the reads wait 5 ms here instead of the devices' 1-5 s, so a run measures the parsing.

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "hid/device_link.h"
#include "hid/hid_backend.h"
#include "support/scripted_interface.h"

namespace vorlin {
namespace {

class FuzzReplies {
 public:
  void Reset(const uint8_t* data, size_t size) {
    std::lock_guard lock(mutex_);
    data_ = data;
    size_ = size;
  }

  CommandReport Next(const CommandReport& request) {
    std::lock_guard lock(mutex_);
    CommandReport reply = test::ScriptedInterface::Echo(request).reports[0];
    // Each reply takes a length byte, then up to that many bytes laid over the echo.
    if (size_ == 0) return reply;
    const size_t n = std::min<size_t>(data_[0] % (reply.size() + 1), size_ - 1);
    std::copy_n(data_ + 1, n, reply.begin());
    data_ += n + 1;
    size_ -= n + 1;
    return reply;
  }

 private:
  std::mutex mutex_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

constexpr int kReplyWaitMs = 5;

struct Setup {
  Setup() {
    HidBackends::Add(bus);
    device = std::make_shared<test::ScriptedInterface>(*bus);
    device->SetScript([this](const CommandReport& request) {
      test::ScriptedReply reply;
      reply.reports = {replies.Next(request), replies.Next(request)};
      return reply;
    });
    VirtualInterfaceSpec spec{0x320F, 0x225E, 0x0100, 1, 4, test::CommandCollectionDescriptor()};
    const std::string path = test::PathOfNode(bus->Attach(spec, device));
    link.SetReplyTimeouts({kReplyWaitMs, kReplyWaitMs, kReplyWaitMs});
    link.WiredInterface().Open(path, true, true, true, false);
    link.ReceiverInterface().Open(path, true, true, true, false);
    link.open = true;
  }

  std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>();
  std::shared_ptr<test::ScriptedInterface> device;
  FuzzReplies replies;
  DeviceLink link;
};

}  // namespace
}  // namespace vorlin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorlin;
  static Setup* setup = new Setup();  // lives for the whole run; threads of the bus keep using it
  if (size == 0) return 0;
  DeviceLink& link = setup->link;
  link.SetConnectionMode(data[0] & 1 ? 2 : 1);
  link.SetBlockSize(data[0] >> 1);
  setup->replies.Reset(data + 1, size - 1);

  std::array<uint8_t, 34> info{};
  std::array<uint8_t, 95> params{};
  std::array<uint8_t, 6> status{};
  std::vector<uint8_t> keys(link.BlockSize());
  link.BeginConfig();
  link.ReadDeviceInfo(info);
  link.ReadParams(params, 0x80);
  link.ReadStatus(status, 0);
  link.ReadKeyTable(keys, 0);
  link.ReadKeyLedTable(keys);
  link.ProbeWireless();
  link.WriteLightFrame(params);
  setup->bus->ClearTrace();
  return 0;
}
