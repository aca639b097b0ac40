#pragma once

// The CM6533 USB headset.

#include "devices/usb_device.h"
#include "profiles/hs6533_profile_data.h"

namespace vorlin {

class CHalvexHS6533Device : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  CHalvexHS6533Device(const ProductEntry& product, ProfileFolders folders);
  ~CHalvexHS6533Device() override;

  CBasicProfiledata& ProfileData() override { return profile_; }

 protected:
  std::optional<LightingDevice> LightingKind() const override { return LightingDevice::kHeadset; }
  // Starts the preview of the device's lighting once it is connected.
  void ReadDeviceState() override {
    StartLightingWorker();
    NoteDeviceRead();
    PublishView();
  }
  int ResyncDelayMs() const override { return 500; }

 private:
  CHs6533Profiledata profile_;
};

}  // namespace vorlin
