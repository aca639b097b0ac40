#pragma once

// A device without a window, for `vorlin ctl` when the program is not running: the device's
// client and the product's profile list, read from the same documents the window uses. Present
// once the device is connected and has been read.

#include "app/bus_device_target.h"
#include "profiles/profile_folders.h"

namespace vorlin {

class HeadlessBusTarget : public BusDeviceTarget {
 public:
  // `product` and `client` must outlive the target; the profile list is read at once.
  HeadlessBusTarget(const ProductEntry& product, const ProfileFolders& folders,
                    DeviceClient& client);

  const ProductEntry& Product() const override { return product_; }
  DeviceClient& Client() const override { return client_; }
  bool Present() const override;
  const ProfileList& Profiles() const override { return list_; }
  void ApplyProfile(int index) override;
  ProfileList::Outcome ImportProfile(const std::string& path) override;
  bool ExportProfile(const std::string& path) override;

 private:
  void ApplyCurrent();

  const ProductEntry& product_;
  DeviceClient& client_;
  ProfileList list_;
};

}  // namespace vorlin
