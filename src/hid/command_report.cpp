#include "hid/command_report.h"

#include <algorithm>

namespace vorlin {

uint16_t CommandChecksum(std::span<const uint8_t, kCommandReportSize> report) {
  uint32_t sum = 0;
  for (size_t i = 3; i < kCommandReportSize; ++i) sum += report[i];
  return static_cast<uint16_t>(sum);
}

void StoreCommandChecksum(CommandReport& report) {
  const uint16_t sum = CommandChecksum(report);
  report[1] = static_cast<uint8_t>(sum & 0xFF);
  report[2] = static_cast<uint8_t>(sum >> 8);
}

CommandReport MakeCommandReport(uint8_t code, uint8_t length, uint16_t offset,
                                std::span<const uint8_t> payload) {
  CommandReport r{};
  r[0] = kCommandReportId;
  r[3] = code;
  r[4] = length;
  r[5] = static_cast<uint8_t>(offset & 0xFF);
  r[6] = static_cast<uint8_t>(offset >> 8);
  const size_t n = std::min(payload.size(), kMaxCommandPayload);
  std::copy_n(payload.begin(), n, r.begin() + kCommandPayloadOffset);
  StoreCommandChecksum(r);
  return r;
}

}  // namespace vorlin
