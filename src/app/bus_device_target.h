#pragma once

// One product as the session-bus members and `vorlin ctl` see it: its device's client, whether it
// is there, and its profile list with the three profile actions the members offer. The window
// gives its pages (page_bus_target.h), so a change made from the bus shows on the page as if the
// user had made it; `vorlin ctl` run without the window gives bare device clients and profile
// lists (headless_bus_target.h).

#include <string>

#include "catalogue/product_catalogue.h"
#include "profiles/profile_list.h"

namespace vorlin {

class DeviceClient;

class BusDeviceTarget {
 public:
  virtual ~BusDeviceTarget() = default;

  virtual const ProductEntry& Product() const = 0;
  virtual DeviceClient& Client() const = 0;
  // Connected, read and shown: the members answer for it.
  virtual bool Present() const = 0;
  virtual const ProfileList& Profiles() const = 0;
  // Makes profile `index` current and applies it to the device; its report follows.
  virtual void ApplyProfile(int index) = 0;
  // A new profile from the document at `path`, made current and applied (when Outcome is ok).
  // Asks nothing and tells nothing: the caller hears the outcome.
  virtual ProfileList::Outcome ImportProfile(const std::string& path) = 0;
  // Writes the current profile's document to `path`, asking and telling nothing.
  virtual bool ExportProfile(const std::string& path) = 0;
};

}  // namespace vorlin
