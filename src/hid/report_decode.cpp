// Capabilities of a parsed top-level collection and decoding of its reports, with the results and
// status codes of the Windows HidP_* functions the device code was written against.

#include <algorithm>
#include <bitset>
#include <limits>

#include "hid/report_descriptor.h"

namespace vorlin {
namespace {

// Scaling multiplies two 33-bit spans; GCC and Clang both offer a 128-bit integer for that.
__extension__ typedef __int128 Int128;

bool KindValid(ReportKind kind) {
  return static_cast<uint8_t>(kind) <= 2;
}

// The declared usages of a field. A field put together by hand with only isRange/usages (and no
// spans) is read from those.
class FieldUsages {
 public:
  explicit FieldUsages(const ReportField& f) : field_(f) {
    if (f.spans.empty()) {
      if (f.isRange) {
        own_.push_back({f.usagePage, f.usageMin, f.usageMax, true});
      } else {
        for (uint16_t u : f.usages) own_.push_back({f.usagePage, u, u, false});
      }
    }
  }

  std::span<const UsageSpan> Spans() const {
    return field_.spans.empty() ? std::span<const UsageSpan>(own_) : field_.spans;
  }

  static uint32_t SpanCount(const UsageSpan& s) {
    return s.usageMax >= s.usageMin ? s.usageMax - s.usageMin + 1u : 0u;
  }

  uint64_t Count() const {
    uint64_t n = 0;
    for (const UsageSpan& s : Spans()) n += SpanCount(s);
    return n;
  }

  bool HasPage(uint16_t page) const {
    for (const UsageSpan& s : Spans())
      if (s.usagePage == page && SpanCount(s) > 0) return true;
    return false;
  }

  // The usage at a position of the declared list; false beyond its end.
  bool At(uint64_t index, uint16_t& page, uint16_t& usage) const {
    const auto spans = Spans();
    if (spans.size() > 1 && ends_.empty()) {
      // Where each span's positions end, so that every later lookup is a binary search.
      ends_.reserve(spans.size());
      uint64_t end = 0;
      for (const UsageSpan& s : spans) ends_.push_back(end += SpanCount(s));
    }
    size_t span = 0;
    uint64_t start = 0;
    if (!ends_.empty()) {
      span = std::upper_bound(ends_.begin(), ends_.end(), index) - ends_.begin();
      if (span > 0) start = ends_[span - 1];
    }
    if (span >= spans.size() || index - start >= SpanCount(spans[span])) return false;
    page = spans[span].usagePage;
    usage = static_cast<uint16_t>(spans[span].usageMin + (index - start));
    return true;
  }

  // The position of a usage in the declared list (its first occurrence); false when absent.
  bool IndexOf(uint16_t page, uint16_t usage, uint64_t& index) const {
    uint64_t base = 0;
    for (const UsageSpan& s : Spans()) {
      if (s.usagePage == page && usage >= s.usageMin && usage <= s.usageMax) {
        index = base + (usage - s.usageMin);
        return true;
      }
      base += SpanCount(s);
    }
    return false;
  }

 private:
  const ReportField& field_;
  std::vector<UsageSpan> own_;
  mutable std::vector<uint64_t> ends_;  // filled by the first At()
};

bool IsButtonField(const ReportField& f) {
  return !f.IsConstant() && f.IsButton();
}
bool IsValueField(const ReportField& f) {
  return !f.IsConstant() && !f.IsButton();
}

// How many of the declared usages the report can carry: an array element can hold any of them, a
// variable item has one element per usage and the usages beyond its count go unused.
uint64_t UsableUsages(const ReportField& f, const FieldUsages& fu) {
  const uint64_t n = fu.Count();
  return f.IsVariable() ? std::min<uint64_t>(n, f.reportCount) : n;
}

// Calls emit(page, min, max, isRange) for every declared usage or range the report can carry.
template <typename Emit>
void ForEachCapSpan(const ReportField& f, Emit emit) {
  const FieldUsages fu(f);
  uint64_t left = UsableUsages(f, fu);
  for (const UsageSpan& s : fu.Spans()) {
    if (left == 0) break;
    const uint32_t n = FieldUsages::SpanCount(s);
    if (n == 0) continue;
    const uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(n, left));
    emit(s.usagePage, s.usageMin, static_cast<uint16_t>(s.usageMin + take - 1), s.isRange);
    left -= take;
  }
}

// Logical maximum as the descriptor meant it: unsigned unless the minimum is negative.
int64_t LogicalMaxOf(const ReportField& f) {
  return f.logicalMin < 0 ? int64_t{f.logicalMax} : int64_t{static_cast<uint32_t>(f.logicalMax)};
}
int64_t PhysicalMaxOf(const ReportField& f) {
  return f.physicalMin < 0 ? int64_t{f.physicalMax} : int64_t{static_cast<uint32_t>(f.physicalMax)};
}

// Up to 32 bits starting at a bit position of the report (the report id byte is bits 0..7).
// Bits past the end of the report read as 0.
uint32_t ReadBits(std::span<const uint8_t> report, uint64_t bitPos, uint32_t count) {
  count = std::min(count, 32u);
  uint64_t value = 0;
  uint32_t got = 0;
  while (got < count) {
    const uint64_t byte = (bitPos + got) / 8;
    if (byte >= report.size()) break;
    const uint32_t shift = static_cast<uint32_t>((bitPos + got) % 8);
    const uint32_t take = std::min(8 - shift, count - got);
    value |= static_cast<uint64_t>((report[byte] >> shift) & ((1u << take) - 1)) << got;
    got += take;
  }
  return static_cast<uint32_t>(value);
}

uint64_t ElementBit(const ReportField& f, uint64_t element) {
  return 8 + uint64_t{f.bitOffset} + element * f.reportSize;
}

// An element as a number in the field's logical terms: sign-extended when the logical minimum is
// negative.
int64_t ElementValue(const ReportField& f, uint32_t raw) {
  const uint32_t bits = std::min(f.reportSize, 32u);
  if (f.logicalMin >= 0 || bits == 0) return raw;
  if (bits == 32) return static_cast<int32_t>(raw);
  const uint32_t sign = 1u << (bits - 1);
  return static_cast<int64_t>(raw ^ sign) - static_cast<int64_t>(sign);
}

bool HasReport(const TopLevelCollection& c, ReportKind kind, uint8_t id) {
  for (const ReportField& f : c.fields)
    if (f.kind == kind && f.reportId == id) return true;
  return false;
}

// The checks every decoding function starts with. On success `id` is the report's id.
uint32_t CheckReport(const TopLevelCollection& c, ReportKind kind, std::span<const uint8_t> report,
                     uint8_t& id) {
  if (!KindValid(kind)) return kHidpStatusInvalidReportType;
  if (report.empty()) return kHidpStatusInvalidReportLength;
  id = report[0];
  if (!HasReport(c, kind, id)) return kHidpStatusReportDoesNotExist;
  if (report.size() < 1 + (uint64_t{c.ReportBits(kind, id)} + 7) / 8)
    return kHidpStatusInvalidReportLength;
  return kHidpStatusSuccess;
}

// Finds the value field and element of a usage in the report with the given id.
uint32_t FindValue(const TopLevelCollection& c, ReportKind kind, uint16_t page, uint16_t usage,
                   uint8_t id, const ReportField*& field, uint64_t& element) {
  bool elsewhere = false;
  for (const ReportField& f : c.fields) {
    if (f.kind != kind || !IsValueField(f)) continue;
    uint64_t index = 0;
    if (!FieldUsages(f).IndexOf(page, usage, index) || index >= f.reportCount) continue;
    if (f.reportId != id) {
      elsewhere = true;
      continue;
    }
    field = &f;
    element = index;
    return kHidpStatusSuccess;
  }
  return elsewhere ? kHidpStatusIncompatibleReportId : kHidpStatusUsageNotFound;
}

}  // namespace

uint32_t TopLevelCollection::ReportBits(ReportKind kind, uint8_t reportId) const {
  uint64_t bits = 0;
  for (const ReportSize& r : reportSizes)
    if (r.kind == kind && r.reportId == reportId) bits = std::max<uint64_t>(bits, r.bits);
  for (const ReportField& f : fields) {
    if (f.kind != kind || f.reportId != reportId) continue;
    bits = std::max(bits, uint64_t{f.bitOffset} + uint64_t{f.reportSize} * f.reportCount);
  }
  return static_cast<uint32_t>(std::min<uint64_t>(bits, std::numeric_limits<uint32_t>::max()));
}

std::vector<uint8_t> TopLevelCollection::ReportIds(ReportKind kind) const {
  std::bitset<256> seen;
  for (const ReportField& f : fields)
    if (f.kind == kind) seen.set(f.reportId);
  std::vector<uint8_t> ids;
  for (size_t id = 0; id < seen.size(); ++id)
    if (seen.test(id)) ids.push_back(static_cast<uint8_t>(id));
  return ids;
}

uint16_t TopLevelCollection::ReportByteLength(ReportKind kind) const {
  uint64_t longest = 0;
  for (uint8_t id : ReportIds(kind))
    longest = std::max<uint64_t>(longest, 1 + (uint64_t{ReportBits(kind, id)} + 7) / 8);
  return static_cast<uint16_t>(std::min<uint64_t>(longest, 0xFFFF));
}

namespace {
// Caps of one kind made from the fields the predicate accepts: one per declared usage or range.
template <typename Cap, typename Accept>
std::vector<Cap> CapsOf(const std::vector<ReportField>& fields, ReportKind kind, Accept accept) {
  std::vector<Cap> caps;
  for (size_t i = 0; i < fields.size(); ++i) {
    const ReportField& f = fields[i];
    if (f.kind != kind || !accept(f)) continue;
    ForEachCapSpan(f, [&](uint16_t page, uint16_t min, uint16_t max, bool isRange) {
      caps.push_back({page, f.reportId, isRange, min, max, static_cast<uint32_t>(i)});
    });
  }
  return caps;
}
}  // namespace

std::vector<ButtonCap> TopLevelCollection::ButtonCaps(ReportKind kind) const {
  return CapsOf<ButtonCap>(fields, kind, [](const ReportField& f) { return IsButtonField(f); });
}

std::vector<ValueCap> TopLevelCollection::ValueCaps(ReportKind kind) const {
  return CapsOf<ValueCap>(fields, kind, [](const ReportField& f) { return IsValueField(f); });
}

uint32_t TopLevelCollection::MaxUsageListLength(ReportKind kind, uint16_t usagePage) const {
  uint64_t total = 0;
  for (const ReportField& f : fields) {
    if (f.kind != kind || !IsButtonField(f)) continue;
    const FieldUsages fu(f);
    if (usagePage != 0 && !fu.HasPage(usagePage)) continue;
    total += f.IsVariable() ? UsableUsages(f, fu) : f.reportCount;
  }
  return static_cast<uint32_t>(std::min<uint64_t>(total, std::numeric_limits<uint32_t>::max()));
}

uint32_t GetUsages(const TopLevelCollection& collection, ReportKind kind, uint16_t usagePage,
                   std::span<const uint8_t> report, uint32_t capacity,
                   std::vector<uint16_t>& usages) {
  usages.clear();
  uint8_t id = 0;
  if (uint32_t status = CheckReport(collection, kind, report, id); status != kHidpStatusSuccess)
    return status;

  bool inReport = false;
  bool elsewhere = false;
  for (const ReportField& f : collection.fields) {
    if (f.kind != kind || !IsButtonField(f)) continue;
    const FieldUsages fu(f);
    if (!fu.HasPage(usagePage)) continue;
    if (f.reportId != id) {
      elsewhere = true;
      continue;
    }
    inReport = true;

    if (f.IsVariable()) {
      // One bit per usage; bits beyond the declared usages carry nothing.
      const uint64_t n = UsableUsages(f, fu);
      uint64_t i = 0;
      for (const UsageSpan& s : fu.Spans()) {
        for (uint32_t u = s.usageMin; u <= s.usageMax && i < n; ++u, ++i) {
          if (s.usagePage != usagePage || u == 0 || !ReadBits(report, ElementBit(f, i), 1))
            continue;
          if (usages.size() >= capacity) return kHidpStatusBufferTooSmall;
          usages.push_back(static_cast<uint16_t>(u));
        }
      }
    } else {
      // Each element holds an index into the usage list, offset by the logical minimum; values
      // outside the logical range (usually 0) are empty slots.
      const int64_t min = f.logicalMin;
      const int64_t max = LogicalMaxOf(f);
      for (uint64_t i = 0; i < f.reportCount; ++i) {
        const int64_t v = ElementValue(f, ReadBits(report, ElementBit(f, i), f.reportSize));
        uint16_t page = 0;
        uint16_t usage = 0;
        if (v < min || v > max || !fu.At(static_cast<uint64_t>(v - min), page, usage) ||
            page != usagePage || usage == 0)
          continue;
        if (usages.size() >= capacity) return kHidpStatusBufferTooSmall;
        usages.push_back(usage);
      }
    }
  }
  if (inReport) return kHidpStatusSuccess;
  return elsewhere ? kHidpStatusIncompatibleReportId : kHidpStatusUsageNotFound;
}

uint32_t GetUsageValue(const TopLevelCollection& collection, ReportKind kind, uint16_t usagePage,
                       uint16_t usage, std::span<const uint8_t> report, uint32_t& value) {
  value = 0;
  uint8_t id = 0;
  if (uint32_t status = CheckReport(collection, kind, report, id); status != kHidpStatusSuccess)
    return status;
  const ReportField* f = nullptr;
  uint64_t element = 0;
  if (uint32_t status = FindValue(collection, kind, usagePage, usage, id, f, element);
      status != kHidpStatusSuccess)
    return status;
  value = ReadBits(report, ElementBit(*f, element), f->reportSize);
  return kHidpStatusSuccess;
}

uint32_t GetScaledUsageValue(const TopLevelCollection& collection, ReportKind kind,
                             uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                             int32_t& value) {
  value = 0;
  uint8_t id = 0;
  if (uint32_t status = CheckReport(collection, kind, report, id); status != kHidpStatusSuccess)
    return status;
  const ReportField* f = nullptr;
  uint64_t element = 0;
  if (uint32_t status = FindValue(collection, kind, usagePage, usage, id, f, element);
      status != kHidpStatusSuccess)
    return status;

  constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
  const int64_t lmin = f->logicalMin;
  const int64_t lmax = LogicalMaxOf(*f);
  const int64_t pmin = f->physicalMin;
  const int64_t pmax = PhysicalMaxOf(*f);
  const bool hasPhysical = f->physicalMin != 0 || f->physicalMax != 0;
  if (lmin >= lmax) return kHidpStatusBadLogPhyValues;
  if (hasPhysical ? (pmin >= pmax || pmax > kIntMax) : (lmax > kIntMax))
    return kHidpStatusBadLogPhyValues;

  const int64_t v = ElementValue(*f, ReadBits(report, ElementBit(*f, element), f->reportSize));
  if (v < lmin || v > lmax) return kHidpStatusNull;
  if (!hasPhysical) {
    value = static_cast<int32_t>(v);
    return kHidpStatusSuccess;
  }
  // (v - lmin) and (pmax - pmin) each fit in 33 bits; their product needs 128-bit arithmetic.
  const Int128 scaled = static_cast<Int128>(v - lmin) * (pmax - pmin) / (lmax - lmin) + pmin;
  value = static_cast<int32_t>(std::clamp<Int128>(scaled, kIntMin, kIntMax));
  return kHidpStatusSuccess;
}

}  // namespace vorlin
