#pragma once

// `vorlin --check-updates`: the update check of the settings window, once, on the terminal.

#include <ostream>

#include "online/update_report.h"

namespace vorlin {

// Asks about the program and the connected devices with the program's update settings; returns
// the exit code of PrintUpdateCheck.
int RunUpdateCheckCommand(std::ostream& out);

}  // namespace vorlin
