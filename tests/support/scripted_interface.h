#pragma once

// A command interface on the virtual bus whose answers a test scripts request by request. Used
// where a test needs a device that misbehaves in one precise way; the full device models live in
// sim/.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hid/command_report.h"
#include "hid/hid_device.h"
#include "hid/virtual_bus.h"

namespace vorlin::test {

// Vendor collection 0xFF1C/0x92 with report id 4 and 63 data bytes each way.
inline std::vector<uint8_t> CommandCollectionDescriptor() {
  return {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,
          0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};
}

struct ScriptedReply {
  std::vector<CommandReport> reports;  // sent in order; empty: no answer at all
  int delayMs = 0;
  WriteOutcome outcome = WriteOutcome::Accept;
};

class ScriptedInterface : public VirtualEndpoint {
 public:
  using Script = std::function<ScriptedReply(const CommandReport& request)>;

  explicit ScriptedInterface(VirtualHidBus& bus) : bus_(bus) {}

  // Echo bytes 0..6 with status 0; for reads, data byte i is the low byte of (offset + i).
  static ScriptedReply Echo(const CommandReport& request) {
    CommandReport reply = request;
    reply[7] = 0;
    for (size_t i = 0; i < kMaxCommandPayload; ++i)
      reply[kCommandPayloadOffset + i] =
          i < PayloadLengthOf(request) ? static_cast<uint8_t>(OffsetOf(request) + i) : 0;
    if (CommandCodeOf(request) == kCmdProbeWireless) reply[kCommandPayloadOffset] = 0xFF;
    return {{reply}};
  }

  void SetScript(Script script) {
    std::lock_guard lock(mutex_);
    script_ = std::move(script);
  }

  WriteOutcome OnOutputReport(const std::string& node, std::span<const uint8_t> report) override {
    CommandReport request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    Script script;
    {
      std::lock_guard lock(mutex_);
      script = script_;
    }
    const ScriptedReply reply = script ? script(request) : Echo(request);
    if (reply.outcome != WriteOutcome::Accept) return reply.outcome;
    for (const CommandReport& r : reply.reports) bus_.SendInput(node, r, reply.delayMs);
    return WriteOutcome::Accept;
  }

 private:
  VirtualHidBus& bus_;
  std::mutex mutex_;
  Script script_;
};

// The path HidDevice::EnumerateInterfaces lists for a virtual bus node.
inline std::string PathOfNode(const std::string& node) {
  HidDevice scan;
  scan.EnumerateInterfaces();
  while (const std::string* p = scan.NextInterfacePath())
    if (p->find(":" + node + "?") != std::string::npos) return *p;
  return {};
}

}  // namespace vorlin::test
