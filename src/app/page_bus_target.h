#pragma once

// A device page as the session-bus members see it: the page's client, present while its option
// shows in the selector strip, and the page's profile bar for the profile actions, so the window
// shows a change from the bus as if the user had made it there.

#include "app/bus_device_target.h"

namespace vorlin {

class DevicePage;

class PageBusTarget : public BusDeviceTarget {
 public:
  // `page` must outlive the target.
  explicit PageBusTarget(DevicePage& page) : page_(page) {}

  const ProductEntry& Product() const override;
  DeviceClient& Client() const override;
  bool Present() const override;
  const ProfileList& Profiles() const override;
  void ApplyProfile(int index) override;
  ProfileList::Outcome ImportProfile(const std::string& path) override;
  bool ExportProfile(const std::string& path) override;

 private:
  DevicePage& page_;
};

}  // namespace vorlin
