#pragma once

// Shared by the report-descriptor fuzz targets: decodes one report through every capability of a
// collection and stops the run when a result breaks the decoder's promises.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "hid/report_descriptor.h"

namespace vorlin::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

inline void DecodeAllCaps(const TopLevelCollection& c, std::span<const uint8_t> report) {
  for (ReportKind kind : {ReportKind::Input, ReportKind::Output, ReportKind::Feature}) {
    const uint16_t length = c.ReportByteLength(kind);
    const std::vector<uint8_t> ids = c.ReportIds(kind);
    // A report that is long enough and carries one of the collection's ids is never refused
    // for its length or id.
    bool knownId = false;
    for (uint8_t id : ids) knownId = knownId || (!report.empty() && report[0] == id);
    const bool wellFormed = knownId && report.size() >= length;

    for (const ButtonCap& cap : c.ButtonCaps(kind)) {
      const uint32_t capacity = c.MaxUsageListLength(kind, cap.usagePage);
      std::vector<uint16_t> usages;
      const uint32_t status = GetUsages(c, kind, cap.usagePage, report, capacity, usages);
      Check(usages.size() <= capacity);
      if (wellFormed && cap.reportId == report[0]) Check(status == kHidpStatusSuccess);
      for (uint16_t u : usages) Check(u != 0);
    }
    for (const ValueCap& cap : c.ValueCaps(kind)) {
      auto decode = [&](uint16_t usage) {
        uint32_t raw = 0;
        int32_t scaled = 0;
        const uint32_t status = GetUsageValue(c, kind, cap.usagePage, usage, report, raw);
        if (wellFormed && cap.reportId == report[0]) Check(status == kHidpStatusSuccess);
        GetScaledUsageValue(c, kind, cap.usagePage, usage, report, scaled);
      };
      // Every usage of a small range, the first ones and the last of a large one.
      const uint32_t span = cap.usageMax >= cap.usageMin ? cap.usageMax - cap.usageMin : 0;
      for (uint32_t i = 0; i <= span && i < 16; ++i)
        decode(static_cast<uint16_t>(cap.usageMin + i));
      if (span >= 16) decode(cap.usageMax);
    }
  }
}

}  // namespace vorlin::fuzz
