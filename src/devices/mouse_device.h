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
  // The profile's lighting, previewed on the page and shown in the lighting panel.
  int LoadProfile() override {
    LoadLightingFromProfile();
    RefreshPage();
    return 1;
  }
  int ApplyLighting() override {
    LoadLightingFromProfile();
    return 1;
  }
  // 1 when the device answers through its receiver, else 0 (the timers ask only through the
  // receiver; by cable the device is always there).
  int ProbeLink() override;

 protected:
  std::optional<LightingDevice> LightingKind() const override { return LightingDevice::kMouse; }
  // Starts the preview of the device's lighting once it is connected.
  void ReadDeviceState() override { StartLightingWorker(); }
  int ResyncDelayMs() const override { return 50; }

 private:
  CMouseProfiledata profile_;
};

}  // namespace vorlin
