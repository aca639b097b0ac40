#include "hid/report_log.h"

#include <cstdio>

#include "platform/log.h"

namespace vorlin {

std::string FormatReportLine(std::span<const uint8_t, 32> bytes) {
  std::string line;
  line.reserve(32 * 3 + 16);
  for (size_t i = 0; i < 32; ++i) {
    if (i > 0) {
      if (i % 4 != 0) line += ' ';
      else line += (i <= 12) ? "   " : "  ";
    }
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    line += hex;
  }
  return line;
}

void LogCommandReport(const char* caption, std::span<const uint8_t, 64> report) {
  if (!lcReports().isDebugEnabled()) return;
  qCDebug(lcReports).noquote() << caption;
  qCDebug(lcReports).noquote() << FormatReportLine(report.first<32>()).c_str();
  qCDebug(lcReports).noquote() << FormatReportLine(report.last<32>()).c_str();
}

}  // namespace vorlin
