#include "devices/device_manager.h"


#include "devices/blocking_ui_call.h"
#include "devices/device_classes.h"
#include "devices/device_client.h"
#include "devices/device_thread.h"
#include "devices/mailbox.h"
#include "devices/usb_device.h"
#include "platform/log.h"

namespace vorlin {

DeviceManager::DeviceManager(ProductCatalogue catalogue, DeviceManagerOptions options)
    : catalogue_(std::move(catalogue)),
      options_(std::move(options)),
      slots_(catalogue_.InterfaceRows()),
      inbox_(new Mailbox(this)) {}

DeviceManager::~DeviceManager() {
  Stop();
}

void DeviceManager::CreateDevices() {
  if (!devices_.empty()) return;
  for (size_t index = 0; index < catalogue_.size(); ++index) {
    std::unique_ptr<CHalvexUSBDevice> made =
        CreateDeviceObject(catalogue_.Product(index), options_.folders);
    CHalvexUSBDevice* device = made.get();
    devices_.push_back(device);
    clients_.push_back(nullptr);
    if (!device) continue;
    device->Initialise();
    // The first view is taken here, while the device is still on this thread.
    clients_.back() = std::make_unique<DeviceClient>(*device, device->View());
    // The devices speak on their own threads; what they say is handed over through the mailbox.
    const auto relay = [this](std::function<void()> say) { inbox_->RunOrPost(std::move(say)); };
    connect(
        device, &CHalvexUSBDevice::connectionChanged, this,
        [this, index, relay](ConnectionKind connection) {
          relay([this, index, connection] { emit connectionChanged(index, connection); });
        },
        Qt::DirectConnection);
    connect(
        device, &CHalvexUSBDevice::optionRequested, this,
        [this, index, relay](bool show) { relay([this, index, show] { emit optionRequested(index, show); }); },
        Qt::DirectConnection);
    connect(
        device, &CHalvexUSBDevice::openFailed, this,
        [this, index, relay](const QString& path) {
          relay([this, index, path = path.toStdString()] {
            emit openFailed(index, QString::fromStdString(path));
          });
        },
        Qt::DirectConnection);
    connect(
        device, &CHalvexUSBDevice::firmwareNotice, this,
        [this, relay](int product, int version) {
          relay([this, product, version] { emit firmwareNotice(product, version); });
        },
        Qt::DirectConnection);
    if (options_.ownThreads) {
      threads_.push_back(std::make_unique<DeviceThread>(std::move(made)));
    } else {
      local_devices_.push_back(std::move(made));
    }
  }
}

bool DeviceManager::StartDiscovery() {
  if (scanner_ || stopped_) return scanner_ != nullptr;
  scanner_ = std::make_unique<DiscoveryScanner>(slots_, *this, std::move(options_.scanner));
  return scanner_->Start();
}

void DeviceManager::Stop() {
  if (stopped_) return;
  stopped_ = true;
  if (scanner_) scanner_->Stop(DiscoveryScanner::kStopBound);
  threads_.clear();
  local_devices_.clear();
  devices_.clear();
}

DeviceClient* DeviceManager::Client(size_t index) const {
  return index < clients_.size() ? clients_[index].get() : nullptr;
}

CHalvexUSBDevice* DeviceManager::Device(size_t index) const {
  return index < devices_.size() ? devices_[index] : nullptr;
}

std::vector<CHalvexUSBDevice*> DeviceManager::Devices() const {
  std::vector<CHalvexUSBDevice*> all;
  for (CHalvexUSBDevice* device : devices_) {
    if (device) all.push_back(device);
  }
  return all;
}

void DeviceManager::Post(size_t index, std::function<void(CHalvexUSBDevice&)> work) {
  CHalvexUSBDevice* device = Device(index);
  if (!device) return;
  device->RunOrPost([device, work = std::move(work)] { work(*device); });
}

// ---- Discovery ----

void DeviceManager::InterfaceArrived(size_t slot) {
  BlockingUiCall(*inbox_, [this, slot] { OnArrived(slot); }, scanner_->StopSignal());
}

void DeviceManager::InterfaceLost(size_t slot) {
  BlockingUiCall(*inbox_, [this, slot] { OnLost(slot); }, scanner_->StopSignal());
}

void DeviceManager::FirstPassDone() {
  BlockingUiCall(*inbox_, [this] { emit firstPassDone(); }, scanner_->StopSignal());
}

std::optional<size_t> DeviceManager::OtherConnectionSlot(size_t slot) const {
  const RowOrigin& origin = catalogue_.RowOrigins()[slot];
  for (const size_t other : slots_.BoundSlots()) {
    const RowOrigin& each = catalogue_.RowOrigins()[other];
    if (each.product == origin.product && each.role == kRoleCommand &&
        each.receiver != origin.receiver && !slots_[other].path.empty())
      return other;
  }
  return std::nullopt;
}

void DeviceManager::OnArrived(size_t slot) {
  if (slot >= slots_.size() || stopped_) return;
  const RowOrigin origin = catalogue_.RowOrigins()[slot];
  const InterfaceEntry entry = slots_[slot];  // a copy: the slot list is the scanner's again soon
  qCInfo(lcVorlin) << "interface of the" << catalogue_.Product(origin.product).dataName.c_str()
                   << (origin.role == kRoleEvent ? "(events)" : "(commands)")
                   << (origin.receiver ? "through the receiver" : "by cable") << "arrived";
  if (origin.role == kRoleEvent) {
    Post(origin.product, [path = entry.path, kind = entry.kind](CHalvexUSBDevice& device) {
      device.OpenEventInterface(path, kind);
    });
  } else if (OtherConnectionSlot(slot)) {
    // Already connected the other way: a cable takes over, a receiver waits behind the cable.
    if (!origin.receiver) {
      Post(origin.product, [path = entry.path](CHalvexUSBDevice& device) {
        device.SwitchConnection(true, path);
      });
    }
  } else {
    Post(origin.product, [path = entry.path, receiver = origin.receiver](CHalvexUSBDevice& device) {
      device.BindCommandInterface(path, receiver);
    });
  }
  emit interfaceArrived(slot);
}

void DeviceManager::OnLost(size_t slot) {
  if (slot >= slots_.size() || stopped_) return;
  const RowOrigin origin = catalogue_.RowOrigins()[slot];
  const uint16_t kind = slots_[slot].kind;
  qCInfo(lcVorlin) << "interface of the" << catalogue_.Product(origin.product).dataName.c_str()
                   << (origin.role == kRoleEvent ? "(events)" : "(commands)")
                   << (origin.receiver ? "through the receiver" : "by cable") << "went away";
  if (origin.role == kRoleEvent) {
    Post(origin.product, [kind](CHalvexUSBDevice& device) { device.CloseEventInterface(kind); });
  } else if (const std::optional<size_t> other = OtherConnectionSlot(slot)) {
    // The cable went while the receiver is still there: back to the receiver. A receiver that
    // goes while the cable is in changes nothing.
    if (!origin.receiver) {
      Post(origin.product, [path = slots_[*other].path](CHalvexUSBDevice& device) {
        device.SwitchConnection(false, path);
      });
    }
  } else {
    Post(origin.product, [](CHalvexUSBDevice& device) { device.DisconnectLink(); });
  }
  emit interfaceLost(slot);
}

}  // namespace vorlin
