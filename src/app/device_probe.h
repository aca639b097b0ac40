#pragma once

// The command-line device probe: lists the supported interfaces present and reads each device's
// information record through its command link. It is `vorlin --probe`, useful for checking a
// device from a terminal.

#include <ostream>

namespace vorlin {

// Prints one line per supported interface and one per device read; returns how many supported
// interfaces were found.
int ProbeDevices(std::ostream& out);

// How many supported interfaces the registered backends present now (identity only; no device is
// talked to).
int CountSupportedInterfaces();

}  // namespace vorlin
