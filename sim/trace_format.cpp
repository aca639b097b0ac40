#include "sim/trace_format.h"

#include <cstdio>

namespace vorlin {

namespace {
constexpr size_t kAlwaysShown = 8;
}

std::string FormatReportBytes(std::span<const uint8_t> bytes, bool foldTrailingZeros) {
  size_t shown = bytes.size();
  if (foldTrailingZeros) {
    while (shown > kAlwaysShown && bytes[shown - 1] == 0) --shown;
  }
  std::string out;
  out.reserve(shown * 3 + 24);
  char hex[4];
  for (size_t i = 0; i < shown; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
    if (i) out += ' ';
    out += hex;
  }
  const size_t folded = bytes.size() - shown;
  if (folded == 1) out += " ... (1 zero byte)";
  if (folded > 1) out += " ... (" + std::to_string(folded) + " zero bytes)";
  return out;
}

std::string FormatTraceRecord(const TraceRecord& record, bool foldTrailingZeros) {
  std::string line = record.direction == TraceDirection::ToDevice ? "> " : "< ";
  line += record.node;
  line += ' ';
  line += FormatReportBytes(record.bytes, foldTrailingZeros);
  return line;
}

std::vector<std::string> FormatTrace(const std::vector<TraceRecord>& trace,
                                     bool foldTrailingZeros) {
  std::vector<std::string> lines;
  lines.reserve(trace.size());
  for (const TraceRecord& r : trace) lines.push_back(FormatTraceRecord(r, foldTrailingZeros));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) {
    out += l;
    out += '\n';
  }
  return out;
}

}  // namespace vorlin
