#pragma once

// The per-key-lit keyboard (by cable, or through its receiver).

#include "devices/usb_device.h"
#include "profiles/keyboard_profile_data.h"

namespace vorlin {

class CHalvexKeyboardDevice : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  CHalvexKeyboardDevice(const ProductEntry& product, ProfileFolders folders);
  ~CHalvexKeyboardDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }
  // 1 when the device answers through its receiver, else 0 (the timers ask only through the
  // receiver; by cable the device is always there).
  int ProbeLink() override;

 protected:
  int ResyncDelayMs() const override { return 50; }

 private:
  CKeyboardProfiledata profile_;
};

}  // namespace vorlin
