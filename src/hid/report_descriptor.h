#pragma once

// Our own HID report descriptor parser and report decoder. It turns the descriptor bytes a HID
// interface presents into its top-level collections, each with the report ids, report lengths and
// button/value capabilities the rest of the program needs, and decodes input reports into usages
// and values the way the Windows HID parser (HidP_*) does, so that the device code sees the same
// numbers on every platform.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorlin {

enum class ReportKind : uint8_t { Input = 0, Output = 1, Feature = 2 };

// Limits that Linux's HID core enforces; a descriptor beyond any of them is refused.
inline constexpr size_t kMaxDescriptorBytes = 4096;
inline constexpr uint32_t kMaxReportSizeBits = 256;
inline constexpr uint32_t kMaxReportCount = 12288;
inline constexpr int kMaxGlobalStackDepth = 4;
// A report may not need more than this many bytes including its report id byte.
inline constexpr uint32_t kMaxReportBufferBytes = 16384;

// Status codes of the decoding functions (the values of the Windows HIDP_STATUS_* codes).
inline constexpr uint32_t kHidpStatusSuccess = 0x00110000;
inline constexpr uint32_t kHidpStatusNull = 0x80110001;
inline constexpr uint32_t kHidpStatusInvalidReportType = 0xC0110002;
inline constexpr uint32_t kHidpStatusInvalidReportLength = 0xC0110003;
inline constexpr uint32_t kHidpStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kHidpStatusValueOutOfRange = 0xC0110005;
inline constexpr uint32_t kHidpStatusBadLogPhyValues = 0xC0110006;
inline constexpr uint32_t kHidpStatusBufferTooSmall = 0xC0110007;
inline constexpr uint32_t kHidpStatusIncompatibleReportId = 0xC011000A;
inline constexpr uint32_t kHidpStatusReportDoesNotExist = 0xC0110010;

// One Usage, or one Usage Minimum/Maximum pair, as the descriptor declares them for a main item.
struct UsageSpan {
  uint16_t usagePage = 0;
  uint16_t usageMin = 0;  // equals usageMax for a single usage
  uint16_t usageMax = 0;
  bool isRange = false;
};

// One Input, Output or Feature main item.
struct ReportField {
  ReportKind kind = ReportKind::Input;
  uint8_t reportId = 0;      // 0 when the descriptor declares no report ids
  uint32_t bitOffset = 0;    // position in the report, counted after the report id byte
  uint32_t reportSize = 0;   // bits per element
  uint32_t reportCount = 0;  // number of elements
  uint32_t flags = 0;        // main item data bits: 0x01 constant, 0x02 variable, 0x04 relative...
  uint16_t usagePage = 0;    // usage page of the item's usages
  bool isRange = false;      // usages given by one Usage Minimum/Maximum pair alone
  uint16_t usageMin = 0;     // the range, or the first and last of the declared usages
  uint16_t usageMax = 0;
  // Explicit usages in declaration order; empty when the item declares any Usage Minimum/Maximum
  // range (then `spans` alone lists them).
  std::vector<uint16_t> usages;
  // Every declared usage and range in order, each with its own page. Array elements index into
  // the list they spell out; variable elements take one usage each, in order. Caps and decoding
  // use these.
  std::vector<UsageSpan> spans;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
  int32_t physicalMin = 0;
  int32_t physicalMax = 0;

  bool IsConstant() const { return flags & 0x01; }
  bool IsVariable() const { return flags & 0x02; }
  // Decoded as a usage list (HidP_GetUsages): an array item, or a variable item of 1-bit fields.
  bool IsButton() const { return !IsVariable() || reportSize == 1; }
};

// A button capability (HIDP_BUTTON_CAPS): a range of usages, or one usage.
struct ButtonCap {
  uint16_t usagePage = 0;
  uint8_t reportId = 0;
  bool isRange = false;
  uint16_t usageMin = 0;  // equals usageMax for a single usage
  uint16_t usageMax = 0;
  uint32_t fieldIndex = 0;  // the ReportField it was made from
};

// A value capability (HIDP_VALUE_CAPS): a range of usages, or one usage.
struct ValueCap {
  uint16_t usagePage = 0;
  uint8_t reportId = 0;
  bool isRange = false;
  uint16_t usageMin = 0;
  uint16_t usageMax = 0;
  uint32_t fieldIndex = 0;
};

// The size of one report: every field of its kind and id in the whole descriptor.
struct ReportSize {
  ReportKind kind = ReportKind::Input;
  uint8_t reportId = 0;
  uint32_t bits = 0;  // without the report id byte
};

struct TopLevelCollection {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  bool usesReportIds = false;           // the whole descriptor declares report ids
  std::vector<ReportField> fields;      // main items inside this collection, in descriptor order
  std::vector<ReportSize> reportSizes;  // the reports this collection's fields belong to

  // Bits of the report of that kind and id (report id byte excluded); 0 when it has no field here.
  uint32_t ReportBits(ReportKind kind, uint8_t reportId) const;

  // The distinct report ids of the kind in this collection, ascending (just 0 without ids).
  std::vector<uint8_t> ReportIds(ReportKind kind) const;
  // InputReportByteLength and friends: the longest report of the kind plus the report id byte
  // (which counts even when the descriptor declares no ids); 0 when the kind has no report.
  uint16_t ReportByteLength(ReportKind kind) const;
  std::vector<ButtonCap> ButtonCaps(ReportKind kind) const;
  std::vector<ValueCap> ValueCaps(ReportKind kind) const;
  // HidP_MaxUsageListLength: how many usages of the page a single report can carry at most.
  uint32_t MaxUsageListLength(ReportKind kind, uint16_t usagePage) const;
};

struct ParsedDescriptor {
  std::vector<TopLevelCollection> collections;
};

// Parses a report descriptor. Returns false, with the reason in *error when given, for a
// descriptor that Linux's HID core would refuse: empty or longer than 4096 bytes, truncated items,
// long items, unknown global items, report size over 256 bits, report count over 12288, report id
// 0 or above 255, a global stack deeper than 4 or popped when empty, an End Collection without a
// collection, a collection or delimiter left open, a data item whose logical maximum lies below
// its logical minimum, or a report longer than kMaxReportBufferBytes. Every collection opened at
// depth 0 becomes one TopLevelCollection; main items outside any collection count towards their
// report's size but belong to no collection.
bool ParseReportDescriptor(std::span<const uint8_t> bytes, ParsedDescriptor& out,
                           std::string* error = nullptr);

// Decoding of a whole report as it travels (first byte the report id, 0 without ids), for one
// collection. Each returns a kHidpStatus* code.
//
// HidP_GetUsages: the usages of the page that are set in the report, from every button capability
// of the report's id, in capability order. `usages` receives at most `capacity` entries;
// kHidpStatusBufferTooSmall when more were set.
uint32_t GetUsages(const TopLevelCollection& collection, ReportKind kind, uint16_t usagePage,
                   std::span<const uint8_t> report, uint32_t capacity,
                   std::vector<uint16_t>& usages);
// HidP_GetUsageValue: the raw bits of the usage's element, zero-extended (the first element of
// the usage when it covers several; only the low 32 bits of a wider element).
uint32_t GetUsageValue(const TopLevelCollection& collection, ReportKind kind, uint16_t usagePage,
                       uint16_t usage, std::span<const uint8_t> report, uint32_t& value);
// HidP_GetScaledUsageValue: the value sign-extended by the logical range and scaled to the
// physical range when one is declared; kHidpStatusBadLogPhyValues when the ranges do not allow it,
// kHidpStatusNull when the raw value lies outside the logical range.
uint32_t GetScaledUsageValue(const TopLevelCollection& collection, ReportKind kind,
                             uint16_t usagePage, uint16_t usage, std::span<const uint8_t> report,
                             int32_t& value);

}  // namespace vorlin
