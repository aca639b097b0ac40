#pragma once

// What the status bar keeps of the user's changes, apart from the widgets. A change that reached
// its device is said for a moment; one that did not (it failed, or the device was away and it is
// kept in the profile only) stays said, with its reason, until a later write to that device
// carries it: a settings record (lighting, DPI and sensor settings) carries an earlier record, a
// key table an earlier key table, the recoil patterns earlier ones, and a whole profile (switch,
// reset, retry) everything. A write to another device clears nothing.

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "devices/device_view.h"

namespace vorlin {

// The language-file key of what the status bar says for `report`.
const char* ReportTextKey(const DeviceReport& report);

class ChangeReports {
 public:
  struct Waiting {
    std::string device;
    DeviceReport report;
  };

  // Takes `device`'s report: a written change clears the device's waiting one; another outcome
  // becomes the device's waiting change and the latest one shown.
  void Take(const std::string& device, const DeviceReport& report);
  // The change the status bar shows while no fresh report is said: the latest of the devices'
  // waiting changes.
  std::optional<Waiting> Shown() const;

 private:
  struct Entry {
    DeviceReport report;
    uint64_t order = 0;
  };
  // Per device and per part of the device a write carries.
  std::map<std::pair<std::string, int>, Entry> waiting_;
  uint64_t taken_ = 0;
};

}  // namespace vorlin
