#pragma once

// The virtual bus: a HidBackend whose nodes are emulated interfaces living in this process. The
// device emulator (sim/) attaches its interfaces here; HidDevice then finds, opens, reads and
// writes them exactly like hidraw nodes. Every report that crosses the bus is kept in a trace so
// that tests can assert on the bytes exchanged.
//
// Semantics shared with hidraw: an input report sent by a device goes to every channel open on its
// node at that moment; a channel opened later does not see earlier reports; detaching a node makes
// every waiting and later read or write on its channels fail with Error.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "hid/hid_backend.h"

namespace vorlin {

struct VirtualInterfaceSpec {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;
  int interfaceNumber = -1;
  int collectionNumber = -1;  // see HidNodeInfo::collectionNumber
  std::vector<uint8_t> reportDescriptor;
};

// What a device does with an output report written to it.
enum class WriteOutcome {
  Accept,  // the write succeeds
  Fail,    // the write fails at once (IoResult::Error)
  Stall,   // the write is never taken: the writer waits until its timeout or an abort
};

// The device side of one emulated interface.
class VirtualEndpoint {
 public:
  virtual ~VirtualEndpoint() = default;
  // An output report written by the program, called on the writing thread with no bus lock held.
  // The device answers through VirtualHidBus::SendInput, at once or later.
  virtual WriteOutcome OnOutputReport(const std::string& node, std::span<const uint8_t> report) = 0;
};

enum class TraceDirection { ToDevice, ToHost };

struct TraceRecord {
  uint64_t sequence = 0;  // order of the reports on the whole bus
  TraceDirection direction = TraceDirection::ToDevice;
  std::string node;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  int interfaceNumber = -1;
  int collectionNumber = -1;
  std::vector<uint8_t> bytes;
};

class VirtualHidBus : public HidBackend {
 public:
  VirtualHidBus();
  ~VirtualHidBus() override;

  // Adds an interface; returns its node name (unique for the bus's lifetime).
  std::string Attach(const VirtualInterfaceSpec& spec, std::shared_ptr<VirtualEndpoint> endpoint);
  void Detach(const std::string& node);
  // Hands an input report to every channel open on the node, now or after delayMs. False when the
  // node is not attached. Delayed reports are delivered by the bus's own timer thread and dropped
  // if the node is detached meanwhile.
  bool SendInput(const std::string& node, std::span<const uint8_t> report, int delayMs = 0);

  std::vector<TraceRecord> Trace() const;
  void ClearTrace();
  // Blocks until the trace holds at least `count` records or timeoutMs passes; true when it does.
  bool WaitForTrace(size_t count, int timeoutMs) const;
  // How many records the trace keeps before dropping the oldest (65536 unless set); 0 turns
  // tracing off, as demo mode does. WaitForTrace counts every record made since the last
  // ClearTrace, dropped ones included.
  void SetTraceLimit(size_t maxRecords);

  // HidBackend
  std::string_view Scheme() const override { return "virtual"; }
  bool ListNodes(std::vector<HidNodeInfo>& nodes) override;
  bool QueryNode(std::string_view node, HidNodeInfo& info) override;
  std::unique_ptr<HidChannel> OpenNode(std::string_view node, bool forRead, bool forWrite,
                                       bool exclusive) override;
  bool NodePresent(std::string_view node) override;
  int ChangeFd() override;
  void ClearChange() override;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace vorlin
