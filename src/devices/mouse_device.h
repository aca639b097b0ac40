#pragma once

// The mouse (by cable, or through its 2.4 GHz receiver).

#include "devices/usb_device.h"
#include "profiles/mouse_profile_data.h"

namespace vorlin {

class CHalvexMouseDevice : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  explicit CHalvexMouseDevice(QWidget* parent = nullptr);
  ~CHalvexMouseDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }
  // 1 when the device answers through its receiver, else 0 (the timers ask only through the
  // receiver; by cable the device is always there).
  int ProbeLink() override;

 protected:
  int ResyncDelayMs() const override { return 50; }

 private:
  CMouseProfiledata profile_;
};

}  // namespace vorlin
