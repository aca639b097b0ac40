#pragma once

// The command-line device probe: lists the supported interfaces present and reads each device's
// information record through its command link. It is `vorlin --probe`, useful for checking a
// device from a terminal.

#include <ostream>
#include <string>
#include <vector>

#include "hid/device_tables.h"
#include "hid/hid_device.h"
#include "online/update_check.h"

namespace vorlin {

// Prints one line per supported interface and one per device read; returns how many supported
// interfaces were found.
int ProbeDevices(std::ostream& out);

// A supported interface present now, with its row of the interface table and its USB identity.
struct SupportedInterface {
  std::string path;
  InterfaceEntry entry;
  HidAttributes attributes;
};

// The supported interfaces the registered backends present now (identity only; no device is
// talked to). `listed` says whether the interfaces could be listed at all.
std::vector<SupportedInterface> ListSupportedInterfaces(bool* listed = nullptr);

// The connected devices' kinds and firmware versions (the USB device release number of their
// command interfaces), for the update check. Safe on any thread.
std::vector<ConnectedDevice> ConnectedDeviceVersions();

// How many supported interfaces the registered backends present now (identity only; no device is
// talked to).
int CountSupportedInterfaces();

}  // namespace vorlin
