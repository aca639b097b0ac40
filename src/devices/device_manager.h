#pragma once

// The device objects of the program and their connections: one device object per product of the
// catalogue, made at start and kept for the whole run, and the discovery scanner whose findings
// it turns into bindings.
//
//   command interface arrives   the product's device opens it (by cable or through the
//                               receiver); a cable that arrives while the receiver is bound takes
//                               over, a receiver that arrives behind the cable waits
//   command interface goes      the device falls back to the receiver when it is still bound,
//                               else it is disconnected
//   event interface arrives     the device starts reading it; it stops when the interface goes
//
// The manager lives on the UI thread (the scanner's calls wait for it there) and never waits on a
// device: it hands each binding to the device's own thread. What becomes of it (connected,
// answering through the receiver, gone) the devices tell with their signals, which the manager
// passes on with the product's index. It has no widget; the window shows what it reports.

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>

#include "catalogue/product_catalogue.h"
#include "devices/device_view.h"
#include "hid/discovery_scanner.h"
#include "hid/slot_list.h"
#include "profiles/profile_folders.h"

namespace vorlin {

class CHalvexUSBDevice;
class DeviceClient;
class DeviceThread;
class Mailbox;

struct DeviceManagerOptions {
  // Where the products' documents live.
  ProfileFolders folders;
  // Run every device on a thread of its own (the program); tests may keep them on their thread.
  bool ownThreads = true;
  DiscoveryScannerOptions scanner;
};

class DeviceManager : public QObject, public DiscoverySink {
  Q_OBJECT

 public:
  DeviceManager(ProductCatalogue catalogue, DeviceManagerOptions options);
  ~DeviceManager() override;  // Stop()

  // Makes one device object per product (loading its current profile) and starts its thread.
  void CreateDevices();
  // Starts the discovery scanner. False when it cannot start.
  bool StartDiscovery();
  DiscoveryScanner* Scanner() const { return scanner_.get(); }
  // Stops the scanner, then every device. Idempotent.
  void Stop();

  const ProductCatalogue& Catalogue() const { return catalogue_; }
  const ProfileFolders& Folders() const { return options_.folders; }
  size_t Count() const { return devices_.size(); }
  // The device object of product `index` (nullptr before CreateDevices or for a product whose
  // family has no device class). Outside tests only its thread may call into it: use Post.
  CHalvexUSBDevice* Device(size_t index) const;
  std::vector<CHalvexUSBDevice*> Devices() const;
  // The page's side of product `index`'s device (nullptr where Device is).
  DeviceClient* Client(size_t index) const;
  // Runs `work` on the device's thread (at once when it runs on the caller's).
  void Post(size_t index, std::function<void(CHalvexUSBDevice&)> work);
  const SlotList& Slots() const { return slots_; }

  // DiscoverySink (called on the scanner's thread; each call waits for the UI thread).
  void InterfaceArrived(size_t slot) override;
  void InterfaceLost(size_t slot) override;
  void FirstPassDone() override;

 signals:
  void firstPassDone();
  // After the manager handled the arrival or loss of `slot`.
  void interfaceArrived(size_t slot);
  void interfaceLost(size_t slot);
  // The devices' own signals, with their product's index.
  void connectionChanged(size_t product, vorlin::ConnectionKind connection);
  void optionRequested(size_t product, bool show);
  void openFailed(size_t product, const QString& path);
  void firmwareNotice(int productId, int versionNumber);

 private:
  void OnArrived(size_t slot);
  void OnLost(size_t slot);
  // The bound command slot of `product`'s other connection (cable <-> receiver), if any.
  std::optional<size_t> OtherConnectionSlot(size_t slot) const;
  void Connect(size_t product, CHalvexUSBDevice& device);

  ProductCatalogue catalogue_;
  DeviceManagerOptions options_;
  SlotList slots_;
  std::vector<std::unique_ptr<CHalvexUSBDevice>> local_devices_;
  std::vector<std::unique_ptr<DeviceThread>> threads_;
  std::vector<CHalvexUSBDevice*> devices_;
  std::vector<std::unique_ptr<DeviceClient>> clients_;
  std::unique_ptr<DiscoveryScanner> scanner_;
  // What the scanner and the devices hand over from their threads arrives here.
  Mailbox* inbox_;
  bool stopped_ = false;
};

}  // namespace vorlin
