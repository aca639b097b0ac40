#include "sim/headset_light_input.h"

#include <algorithm>

namespace vorlin {

bool TakeHeadsetLightReport(HeadsetLighting& lighting, std::span<const uint8_t> report) {
  constexpr size_t kFirstValue = 4;
  if (report.size() < kFirstValue + 7 || report[0] != kHeadsetLightReportId) {
    ++lighting.rejectedReports;
    return false;
  }
  int side = -1;
  if (report[1] == 0x22) side = 0;
  if (report[1] == 0x44) side = 1;

  int colour = -1;
  size_t firstLed = 0;
  size_t count = 0;
  switch (report[2]) {
    case 0xAA:
    case 0xAB:
    case 0xAC:
      colour = report[2] - 0xAA, firstLed = 0, count = 7;
      break;
    case 0xAD:
    case 0xAE:
    case 0xAF:
      colour = report[2] - 0xAD, firstLed = 7, count = 6;
      break;
    default:
      break;
  }
  if (side < 0 || colour < 0) {
    ++lighting.rejectedReports;
    return false;
  }
  auto& values = lighting.values[side][colour];
  std::copy_n(report.begin() + kFirstValue, count, values.begin() + firstLed);
  lighting.lastReport.fill(0);
  std::copy_n(report.begin(), std::min(report.size(), lighting.lastReport.size()),
              lighting.lastReport.begin());
  ++lighting.reports;
  return true;
}

}  // namespace vorlin
