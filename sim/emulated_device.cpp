#include "sim/emulated_device.h"

#include <atomic>
#include <mutex>

#include "sim/command_responder.h"
#include "sim/headset_light_input.h"
#include "sim/report_descriptors.h"

namespace vorlin {

struct EmulatedDevice::Core {
  std::weak_ptr<VirtualHidBus> bus;
  EmulatedDeviceSpec spec;
  std::shared_ptr<Firmware> firmware;

  // Serialises plugging and unplugging (which call into the bus); never held by HandleOutput
  // except through Unplug.
  std::mutex plugMutex;
  // Guards the fields below.
  mutable std::mutex mutex;
  FaultPlan faults;
  std::vector<std::string> nodes;
  std::string commandNode;
  std::atomic<uint64_t> ignored{0};

  bool Plug(const std::shared_ptr<Core>& self);
  void Unplug();
  WriteOutcome HandleOutput(const std::string& node, std::span<const uint8_t> report);
  std::string CommandNode() const {
    std::lock_guard lock(mutex);
    return commandNode;
  }
};

class EmulatedDevice::Endpoint : public VirtualEndpoint {
 public:
  explicit Endpoint(std::shared_ptr<Core> core) : core_(std::move(core)) {}
  WriteOutcome OnOutputReport(const std::string& node, std::span<const uint8_t> report) override {
    return core_->HandleOutput(node, report);
  }

 private:
  std::shared_ptr<Core> core_;
};

bool EmulatedDevice::Core::Plug(const std::shared_ptr<Core>& self) {
  std::lock_guard plugLock(plugMutex);
  {
    std::lock_guard lock(mutex);
    if (!nodes.empty()) return false;
  }
  const std::shared_ptr<VirtualHidBus> b = bus.lock();
  if (!b) return false;

  VirtualInterfaceSpec main;
  main.vendorId = spec.vendorId;
  main.productId = spec.productId;
  main.versionNumber = spec.versionNumber;
  main.collectionNumber = -1;  // a whole interface: its collections are numbered by position
  if (spec.style == InterfaceStyle::Headset) {
    main.interfaceNumber = 3;
    main.reportDescriptor = HeadsetDescriptor();
  } else {
    main.interfaceNumber = 1;
    main.reportDescriptor = VendorInterfaceDescriptor();
  }

  std::vector<std::string> attached;
  if (spec.boot != BootInterface::None) {
    VirtualInterfaceSpec boot = main;
    boot.interfaceNumber = 0;
    boot.reportDescriptor =
        spec.boot == BootInterface::Mouse ? BootMouseDescriptor() : BootKeyboardDescriptor();
    // Plain input interface: it takes output reports (keyboard LEDs) and ignores them.
    attached.push_back(b->Attach(boot, std::make_shared<Endpoint>(self)));
  }
  const std::string command = b->Attach(main, std::make_shared<Endpoint>(self));
  attached.push_back(command);

  std::lock_guard lock(mutex);
  nodes = std::move(attached);
  commandNode = command;
  return true;
}

void EmulatedDevice::Core::Unplug() {
  std::lock_guard plugLock(plugMutex);
  std::vector<std::string> gone;
  {
    std::lock_guard lock(mutex);
    gone.swap(nodes);
    commandNode.clear();
  }
  if (gone.empty()) return;
  if (const std::shared_ptr<VirtualHidBus> b = bus.lock()) {
    for (const std::string& node : gone) b->Detach(node);
  }
}

WriteOutcome EmulatedDevice::Core::HandleOutput(const std::string& node,
                                                std::span<const uint8_t> report) {
  const bool isCommand = !report.empty() && report[0] == kCommandReportId;
  const bool isLighting = spec.style == InterfaceStyle::Headset && !report.empty() &&
                          report[0] == kHeadsetLightReportId;
  bool onCommandNode = false;
  FaultDecision d;
  {
    std::lock_guard lock(mutex);
    onCommandNode = node == commandNode;
    d = faults.Next(isCommand && onCommandNode);
  }
  if (d.unplugBeforeTaking) {
    Unplug();
    return WriteOutcome::Fail;
  }
  if (d.unplugInsteadOfReply) {
    Unplug();
    return WriteOutcome::Accept;
  }
  if (isLighting && onCommandNode) {
    firmware->TakeHeadsetLightReport(report);
    return WriteOutcome::Accept;
  }
  if (!isCommand || !onCommandNode) {
    ignored.fetch_add(1, std::memory_order_relaxed);
    return WriteOutcome::Accept;
  }

  CommandReport reply;
  if (d.status) {
    reply = StatusReply(report, *d.status);
  } else if (spec.receiver && !firmware->PoweredOn()) {
    reply = SilentDeviceReply(report);
  } else {
    reply = firmware->Answer(report);
  }
  if (d.noReply) return WriteOutcome::Accept;

  const std::shared_ptr<VirtualHidBus> b = bus.lock();
  if (!b) return WriteOutcome::Accept;
  if (d.wrongEcho) {
    CommandReport wrong = reply;
    wrong[3] ^= 0x80;
    StoreCommandChecksum(wrong);
    b->SendInput(node, wrong, d.delayMs);
    if (!d.correctAfterWrongEcho) return WriteOutcome::Accept;
  }
  b->SendInput(node, reply, d.delayMs);
  return WriteOutcome::Accept;
}

EmulatedDevice::EmulatedDevice(std::shared_ptr<VirtualHidBus> bus, EmulatedDeviceSpec spec,
                               std::shared_ptr<Firmware> firmware)
    : core_(std::make_shared<Core>()) {
  core_->bus = bus;
  core_->spec = std::move(spec);
  core_->firmware = std::move(firmware);
}

EmulatedDevice::~EmulatedDevice() {
  core_->Unplug();
}

const EmulatedDeviceSpec& EmulatedDevice::Spec() const {
  return core_->spec;
}
Firmware& EmulatedDevice::GetFirmware() const {
  return *core_->firmware;
}

bool EmulatedDevice::Plug() {
  return core_->Plug(core_);
}
void EmulatedDevice::Unplug() {
  core_->Unplug();
}

bool EmulatedDevice::Plugged() const {
  std::lock_guard lock(core_->mutex);
  return !core_->nodes.empty();
}

std::string EmulatedDevice::CommandNode() const {
  return core_->CommandNode();
}

std::string EmulatedDevice::EventNode() const {
  if (core_->spec.style == InterfaceStyle::Headset) return {};
  return core_->CommandNode();
}

std::vector<std::string> EmulatedDevice::Nodes() const {
  std::lock_guard lock(core_->mutex);
  return core_->nodes;
}

bool EmulatedDevice::SendEvent(uint16_t code, int delayMs) const {
  const std::string node = EventNode();
  if (node.empty()) return false;
  const std::shared_ptr<VirtualHidBus> b = core_->bus.lock();
  return b && b->SendInput(node, EventReport(code), delayMs);
}

void EmulatedDevice::FailReplies(int count, uint8_t status) {
  std::lock_guard lock(core_->mutex);
  core_->faults.FailReplies(count, status);
}

void EmulatedDevice::WrongEcho(int count, bool followWithCorrectReply) {
  std::lock_guard lock(core_->mutex);
  core_->faults.WrongEcho(count, followWithCorrectReply);
}

void EmulatedDevice::DelayReplies(int count, int delayMs) {
  std::lock_guard lock(core_->mutex);
  core_->faults.DelayReplies(count, delayMs);
}

void EmulatedDevice::DropReplies(int count) {
  std::lock_guard lock(core_->mutex);
  core_->faults.DropReplies(count);
}

void EmulatedDevice::UnplugAfter(int reports, UnplugPoint point) {
  std::lock_guard lock(core_->mutex);
  core_->faults.UnplugAfter(reports, point);
}

void EmulatedDevice::ClearFaults() {
  std::lock_guard lock(core_->mutex);
  core_->faults.Clear();
}

bool EmulatedDevice::FaultsIdle() const {
  std::lock_guard lock(core_->mutex);
  return core_->faults.Idle();
}

uint64_t EmulatedDevice::IgnoredReports() const {
  return core_->ignored.load(std::memory_order_relaxed);
}

}  // namespace vorlin
