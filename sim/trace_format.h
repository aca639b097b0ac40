#pragma once

// Readable lines from the virtual bus's report trace, for test failure messages and the demo's
// debug output:
//
//   > vbus/3 04 01 00 01 00 00 00 00 ... (56 zero bytes)
//   < vbus/3 04 01 00 01 00 00 00 00 ... (56 zero bytes)
//
// '>' is a report written to the device, '<' one the device sent. Trailing zero bytes are folded
// into a count, but the first eight bytes (the command report's header) are always written out.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hid/virtual_bus.h"

namespace vorlin {

std::string FormatReportBytes(std::span<const uint8_t> bytes, bool foldTrailingZeros = true);
std::string FormatTraceRecord(const TraceRecord& record, bool foldTrailingZeros = true);
std::vector<std::string> FormatTrace(const std::vector<TraceRecord>& trace,
                                     bool foldTrailingZeros = true);
// The lines joined with '\n', ending with one.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace vorlin
