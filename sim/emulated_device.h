#pragma once

// One emulated USB device on the virtual bus: the HID interfaces a real device of its kind
// presents, answering command reports from its firmware, sending event reports, and showing faults
// on demand.
//
// The interfaces are attached as whole USB interfaces, each with its full report descriptor, the
// way a hidraw node carries them: the command collection and the event collection of interface 1
// are two paths of one node, and every input report (replies and events alike) reaches every
// channel open on that node. Picking the reports of one collection by their report id is the HID
// layer's job, exactly as on a real system.
//
// A receiver is a device of its own (its own product id and nodes) that reaches the firmware of
// another device over the radio: while that device is powered on the receiver answers from its
// firmware; while it is off the receiver answers every command with byte 3 = 0xAA.
//
// Thread safety: every operation may be called from any thread, also while the program is in the
// middle of an exchange. Replies are sent from the writing thread (through the bus's timer thread
// when delayed).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/command_report.h"
#include "hid/virtual_bus.h"
#include "sim/fault_plan.h"
#include "sim/firmware.h"

namespace vorlin {

enum class InterfaceStyle {
  VendorCollections,  // interface 1 with the four collections (mouse, keyboard, pad, receivers)
  Headset,            // interface 3 with one consumer collection
};

enum class BootInterface { None, Mouse, Keyboard };

struct EmulatedDeviceSpec {
  std::string name;  // for messages: "mouse", "mouse receiver"
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;
  InterfaceStyle style = InterfaceStyle::VendorCollections;
  BootInterface boot = BootInterface::None;
  bool receiver = false;  // answers for the firmware over the radio, 0xAA while it is off
};

class EmulatedDevice {
 public:
  EmulatedDevice(std::shared_ptr<VirtualHidBus> bus, EmulatedDeviceSpec spec,
                 std::shared_ptr<Firmware> firmware);
  ~EmulatedDevice();  // unplugs
  EmulatedDevice(const EmulatedDevice&) = delete;
  EmulatedDevice& operator=(const EmulatedDevice&) = delete;

  const EmulatedDeviceSpec& Spec() const;
  Firmware& GetFirmware() const;

  // Attaches the device's interfaces; false when it is already plugged in. Every plug-in gives
  // new node names.
  bool Plug();
  // Detaches them; channels open on them fail from then on. Nothing happens when unplugged.
  void Unplug();
  bool Plugged() const;

  // The node carrying the command reports, and the one carrying the event reports (the same node
  // for the four-collection interface); empty while unplugged.
  std::string CommandNode() const;
  std::string EventNode() const;
  std::vector<std::string> Nodes() const;

  // Sends an event report (report id 3, the code as a 16-bit usage) on the event collection,
  // after delayMs. False when unplugged or the device has no event collection (the headset).
  bool SendEvent(uint16_t code, int delayMs = 0) const;

  // Faults, see FaultPlan. An unplug fault detaches this device as Unplug() does.
  void FailReplies(int count, uint8_t status = kStatusFailed);
  void WrongEcho(int count, bool followWithCorrectReply = false);
  void DelayReplies(int count, int delayMs);
  void DropReplies(int count);
  void UnplugAfter(int reports, UnplugPoint point = UnplugPoint::BeforeNextReport);
  void ClearFaults();
  bool FaultsIdle() const;

  // Output reports the device took but does not know (other report ids than its own).
  uint64_t IgnoredReports() const;

 private:
  struct Core;
  class Endpoint;
  std::shared_ptr<Core> core_;
};

}  // namespace vorlin
