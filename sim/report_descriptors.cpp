#include "sim/report_descriptors.h"

namespace vorlin {

namespace {

// Writes short items, choosing the smallest data size that holds the value.
class DescriptorWriter {
 public:
  // Main items
  DescriptorWriter& Input(uint8_t flags) { return Item(0x80, flags); }
  DescriptorWriter& Output(uint8_t flags) { return Item(0x90, flags); }
  DescriptorWriter& Collection(uint8_t kind) { return Item(0xA0, kind); }
  DescriptorWriter& EndCollection() {
    bytes_.push_back(0xC0);
    return *this;
  }
  // Global items
  DescriptorWriter& UsagePage(uint32_t page) { return Item(0x04, page); }
  DescriptorWriter& LogicalMin(int32_t v) { return Signed(0x14, v); }
  DescriptorWriter& LogicalMax(int32_t v) { return Signed(0x24, v); }
  DescriptorWriter& ReportSize(uint32_t bits) { return Item(0x74, bits); }
  DescriptorWriter& ReportId(uint8_t id) { return Item(0x84, id); }
  DescriptorWriter& ReportCount(uint32_t n) { return Item(0x94, n); }
  // Local items
  DescriptorWriter& Usage(uint32_t usage) { return Item(0x08, usage); }
  DescriptorWriter& UsageMin(uint32_t usage) { return Item(0x18, usage); }
  DescriptorWriter& UsageMax(uint32_t usage) { return Item(0x28, usage); }

  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  DescriptorWriter& Item(uint8_t prefix, uint32_t value) {
    const int size = value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : 4;
    return Put(prefix, value, size);
  }
  DescriptorWriter& Signed(uint8_t prefix, int32_t value) {
    const int size = (value >= -128 && value <= 127)       ? 1
                     : (value >= -32768 && value <= 32767) ? 2
                                                           : 4;
    return Put(prefix, static_cast<uint32_t>(value), size);
  }
  DescriptorWriter& Put(uint8_t prefix, uint32_t value, int size) {
    bytes_.push_back(static_cast<uint8_t>(prefix | (size == 4 ? 3 : size)));
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }

  std::vector<uint8_t> bytes_;
};

constexpr uint8_t kApplication = 0x01;
constexpr uint8_t kPhysical = 0x00;
constexpr uint8_t kData_Array = 0x00;
constexpr uint8_t kConstant = 0x01;
constexpr uint8_t kData_Variable = 0x02;
constexpr uint8_t kData_Variable_Relative = 0x06;

// The eight modifier bits, a reserved byte and six key usages: the boot keyboard report body.
void KeyboardBody(DescriptorWriter& w) {
  w.UsagePage(0x07).UsageMin(0xE0).UsageMax(0xE7).LogicalMin(0).LogicalMax(1);
  w.ReportSize(1).ReportCount(8).Input(kData_Variable);
  w.ReportSize(8).ReportCount(1).Input(kConstant);
  w.UsagePage(0x07).UsageMin(0x00).UsageMax(0xFF).LogicalMin(0).LogicalMax(0xFF);
  w.ReportSize(8).ReportCount(6).Input(kData_Array);
  w.UsagePage(0x08).UsageMin(0x01).UsageMax(0x05).LogicalMin(0).LogicalMax(1);
  w.ReportSize(1).ReportCount(5).Output(kData_Variable);
  w.ReportSize(3).ReportCount(1).Output(kConstant);
}

}  // namespace

std::vector<uint8_t> VendorInterfaceDescriptor() {
  DescriptorWriter w;
  w.UsagePage(0x01).Usage(0x06).Collection(kApplication).ReportId(kKeyboardReportId);
  KeyboardBody(w);
  w.EndCollection();

  w.UsagePage(0x01).Usage(0x80).Collection(kApplication).ReportId(kSystemControlReportId);
  w.UsageMin(0x81).UsageMax(0x83).LogicalMin(0).LogicalMax(1);
  w.ReportSize(1).ReportCount(3).Input(kData_Variable);
  w.ReportSize(5).ReportCount(1).Input(kConstant);
  w.EndCollection();

  w.UsagePage(0x0C).Usage(0x01).Collection(kApplication).ReportId(kEventReportId);
  w.UsageMin(0x0000).UsageMax(0x1FFF).LogicalMin(0).LogicalMax(0x1FFF);
  w.ReportSize(16).ReportCount(1).Input(kData_Array);
  w.EndCollection();

  w.UsagePage(0xFF1C).Usage(0x92).Collection(kApplication).ReportId(4);
  w.Usage(0x01).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(63).Input(kData_Variable);
  w.Usage(0x02).ReportCount(63).Output(kData_Variable);
  w.EndCollection();
  return w.Take();
}

std::vector<uint8_t> BootMouseDescriptor() {
  DescriptorWriter w;
  w.UsagePage(0x01).Usage(0x02).Collection(kApplication);
  w.Usage(0x01).Collection(kPhysical);
  w.UsagePage(0x09).UsageMin(1).UsageMax(5).LogicalMin(0).LogicalMax(1);
  w.ReportSize(1).ReportCount(5).Input(kData_Variable);
  w.ReportSize(3).ReportCount(1).Input(kConstant);
  w.UsagePage(0x01).Usage(0x30).Usage(0x31).Usage(0x38).LogicalMin(-127).LogicalMax(127);
  w.ReportSize(8).ReportCount(3).Input(kData_Variable_Relative);
  w.EndCollection();
  w.EndCollection();
  return w.Take();
}

std::vector<uint8_t> BootKeyboardDescriptor() {
  DescriptorWriter w;
  w.UsagePage(0x01).Usage(0x06).Collection(kApplication);
  KeyboardBody(w);
  w.EndCollection();
  return w.Take();
}

std::vector<uint8_t> HeadsetDescriptor() {
  DescriptorWriter w;
  w.UsagePage(0x0C).Usage(0x01).Collection(kApplication);
  w.ReportId(4).UsagePage(0xFF00).LogicalMin(0).LogicalMax(0xFF).ReportSize(8);
  w.Usage(0x01).ReportCount(63).Input(kData_Variable);
  w.Usage(0x02).ReportCount(63).Output(kData_Variable);
  w.ReportId(0xFF).Usage(0x03).ReportCount(16).Output(kData_Variable);
  w.EndCollection();
  return w.Take();
}

std::vector<uint8_t> EventReport(uint16_t code) {
  return {kEventReportId, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)};
}

}  // namespace vorlin
