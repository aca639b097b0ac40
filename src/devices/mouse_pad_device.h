#pragma once

// The lighted mouse pad.

#include "devices/usb_device.h"
#include "profiles/basic_profile_data.h"

namespace vorlin {

class CHalvexMousePadDevice : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  explicit CHalvexMousePadDevice(QWidget* parent = nullptr);
  ~CHalvexMousePadDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }

 protected:
  int ResyncDelayMs() const override { return 500; }

 private:
  CBasicProfiledata profile_;
};

}  // namespace vorlin
