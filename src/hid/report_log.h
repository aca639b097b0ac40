#pragma once

// The hexadecimal form of command reports in the log: 32 bytes a line, lower-case, in groups of
// four, three blanks between the first four groups and two between the later ones.

#include <cstdint>
#include <span>
#include <string>

namespace vorlin {

std::string FormatReportLine(std::span<const uint8_t, 32> bytes);
// "request" or "reply" and the two lines of a 64-byte report, on lcReports.
void LogCommandReport(const char* caption, std::span<const uint8_t, 64> report);

}  // namespace vorlin
