#pragma once

// The update check from the terminal (`vorlin --check-updates`): asks about every target once and
// prints one line per row:
//
//   AP   V0101  V0102                 a newer version exists
//   MS   V0107  up to date
//   KB   V0200  not asked: the server's certificate could not be verified
//
// The result is the program's exit code: 1 when an update exists, else 2 when the server could
// not be asked for some row (or no server is configured), else 0.

#include <ostream>
#include <vector>

#include "online/update_check.h"
#include "online/update_server.h"

namespace vorlin {

inline constexpr int kCheckUpToDate = 0;
inline constexpr int kCheckUpdateExists = 1;
inline constexpr int kCheckServerNotAsked = 2;

int PrintUpdateCheck(std::ostream& out, const std::vector<SupportedDeviceEntry>& targets,
                     const UpdateServer& server);

}  // namespace vorlin
