#include <gtest/gtest.h>

#include <filesystem>

#include "descriptor_fixtures.h"
#include "hid/report_descriptor.h"

namespace vorlin {
namespace {

using testing::Hex;
using testing::LoadDescriptorFixture;
using testing::ParseOrFail;

TopLevelCollection OnlyCollection(const std::vector<uint8_t>& descriptor) {
  ParsedDescriptor d = ParseOrFail(descriptor);
  EXPECT_EQ(d.collections.size(), 1u);
  return d.collections.empty() ? TopLevelCollection{} : d.collections[0];
}

std::vector<uint16_t> Usages(const TopLevelCollection& c, uint16_t page, const char* report,
                             ReportKind kind = ReportKind::Input) {
  std::vector<uint16_t> usages;
  EXPECT_EQ(GetUsages(c, kind, page, Hex(report), 64, usages), kHidpStatusSuccess) << report;
  return usages;
}

// A consumer-control array of 16-bit slots over usages 0..0x4FF, report id 3: how event keys beyond
// the standard consumer page arrive.
constexpr const char* kConsumerArray =
    "05 0c 09 01 a1 01 85 03 19 00 2a ff 04 15 00 26 ff 04 75 10 95 02 81 00 c0";

TEST(ReportDecodeUsages, ConsumerArraySlots) {
  const TopLevelCollection c = OnlyCollection(Hex(kConsumerArray));
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 5);
  EXPECT_EQ(Usages(c, 0x0C, "03 01 04 e0 00"), (std::vector<uint16_t>{0x401, 0xE0}));
  EXPECT_EQ(Usages(c, 0x0C, "03 00 00 02 04"), std::vector<uint16_t>{0x402});  // 0: empty slot
  EXPECT_TRUE(Usages(c, 0x0C, "03 00 05 ff ff").empty());  // beyond the logical maximum
  EXPECT_EQ(Usages(c, 0x0C, "03 01 04 e0 00 99 99"), (std::vector<uint16_t>{0x401, 0xE0}));

  std::vector<uint16_t> one;
  EXPECT_EQ(GetUsages(c, ReportKind::Input, 0x0C, Hex("03 01 04 e0 00"), 1, one),
            kHidpStatusBufferTooSmall);
  EXPECT_EQ(one, std::vector<uint16_t>{0x401});
}

TEST(ReportDecodeUsages, KeyboardModifiersArrayAndLeds) {
  const TopLevelCollection c =
      OnlyCollection(LoadDescriptorFixture("keyboard-ms-comfort-sculpt.hex"));
  // Left Shift, then the keys A and B in the array.
  EXPECT_EQ(Usages(c, 7, "00 02 00 04 05 00 00 00 00"), (std::vector<uint16_t>{0xE1, 0x04, 0x05}));
  // 0xA0 lies in the logical range 0..255 but past the last usage 0x91: nothing.
  EXPECT_TRUE(Usages(c, 7, "00 00 00 a0 00 00 00 00 00").empty());
  EXPECT_EQ(Usages(c, 8, "00 05", ReportKind::Output), (std::vector<uint16_t>{1, 3}));

  std::vector<uint16_t> usages;
  EXPECT_EQ(GetUsages(c, ReportKind::Input, 7, Hex("00 ff 00 04 05 06 07 08 09"),
                      c.MaxUsageListLength(ReportKind::Input, 7), usages),
            kHidpStatusSuccess);
  EXPECT_EQ(usages.size(), 14u);
}

TEST(ReportDecodeUsages, VariableBitsWithExplicitUsages) {
  // Four bits but three usages: the fourth bit carries nothing.
  const TopLevelCollection c =
      OnlyCollection(Hex("05 09 09 02 a1 01 09 01 09 03 09 05 15 00 25 01 75 01 95 04 81 02 "
                         "75 04 95 01 81 03 c0"));
  EXPECT_EQ(Usages(c, 9, "00 0f"), (std::vector<uint16_t>{1, 3, 5}));
  EXPECT_EQ(Usages(c, 9, "00 0a"), std::vector<uint16_t>{3});
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 9), 3u);
}

TEST(ReportDecodeUsages, MouseWithoutReportIds) {
  const TopLevelCollection c = OnlyCollection(LoadDescriptorFixture("mouse-3button.hex"));
  EXPECT_EQ(Usages(c, 9, "00 05 fe 03"), (std::vector<uint16_t>{1, 3}));
  uint32_t raw = 0;
  int32_t scaled = 0;
  EXPECT_EQ(GetUsageValue(c, ReportKind::Input, 1, 0x30, Hex("00 05 fe 03"), raw),
            kHidpStatusSuccess);
  EXPECT_EQ(raw, 0xFEu);
  EXPECT_EQ(GetScaledUsageValue(c, ReportKind::Input, 1, 0x30, Hex("00 05 fe 03"), scaled),
            kHidpStatusSuccess);
  EXPECT_EQ(scaled, -2);
  EXPECT_EQ(GetScaledUsageValue(c, ReportKind::Input, 1, 0x31, Hex("00 05 fe 03"), scaled),
            kHidpStatusSuccess);
  EXPECT_EQ(scaled, 3);
}

struct StatusCase {
  const char* name;
  ReportKind kind;
  uint16_t page;
  uint16_t usage;  // 0: ask for the page's button usages
  const char* report;
  uint32_t status;
};

TEST(ReportDecodeStatus, ReportsThatCannotBeDecoded) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("mouse-xiaomi-mi-dongle.hex"));
  const TopLevelCollection& mouse = d.collections.at(0);
  const StatusCase cases[] = {
      {"buttons of report 1", ReportKind::Input, 9, 0, "01 01 00 00", kHidpStatusSuccess},
      {"empty report", ReportKind::Input, 9, 0, "", kHidpStatusInvalidReportLength},
      {"report one byte short", ReportKind::Input, 9, 0, "01 01 00",
       kHidpStatusInvalidReportLength},
      {"id of the other collection", ReportKind::Input, 9, 0, "03 01 00 00",
       kHidpStatusReportDoesNotExist},
      {"no output reports", ReportKind::Output, 9, 0, "01 00 00 00", kHidpStatusReportDoesNotExist},
      {"not a report kind", static_cast<ReportKind>(7), 9, 0, "01 00 00 00",
       kHidpStatusInvalidReportType},
      {"buttons live in report 1", ReportKind::Input, 9, 0, "02 00 00 00",
       kHidpStatusIncompatibleReportId},
      {"page not in the collection", ReportKind::Input, 0x0D, 0, "01 00 00 00",
       kHidpStatusUsageNotFound},
      {"X lives in report 2", ReportKind::Input, 1, 0x30, "01 00 00 00",
       kHidpStatusIncompatibleReportId},
      {"wheel", ReportKind::Input, 1, 0x38, "01 00 05 00", kHidpStatusSuccess},
      {"usage not declared", ReportKind::Input, 1, 0x32, "01 00 00 00", kHidpStatusUsageNotFound},
      {"button is no value", ReportKind::Input, 9, 1, "01 00 00 00", kHidpStatusUsageNotFound},
  };
  for (const StatusCase& c : cases) {
    const std::vector<uint8_t> report = Hex(c.report);
    if (c.usage == 0) {
      std::vector<uint16_t> usages;
      EXPECT_EQ(GetUsages(mouse, c.kind, c.page, report, 16, usages), c.status) << c.name;
    } else {
      uint32_t raw = 0;
      int32_t scaled = 0;
      EXPECT_EQ(GetUsageValue(mouse, c.kind, c.page, c.usage, report, raw), c.status) << c.name;
      EXPECT_EQ(GetScaledUsageValue(mouse, c.kind, c.page, c.usage, report, scaled), c.status)
          << c.name;
    }
  }
}

struct ValueCase {
  const char* name;
  uint16_t page;
  uint16_t usage;
  const char* report;
  uint32_t raw;
  uint32_t scaledStatus;
  int32_t scaled;
};

TEST(ReportDecodeValues, SignedRangesAndPhysicalScaling) {
  const ParsedDescriptor xiaomi = ParseOrFail(LoadDescriptorFixture("mouse-xiaomi-mi-dongle.hex"));
  // Report 1 of a vendor collection: 0x10 logical 0..255 to physical 0..1000; 0x11 -127..127 to
  // -1270..1270; 0x12 a physical range of one point; 0x13 a logical range of one point; 0x14
  // logical 0..255 written as "25 ff".
  const TopLevelCollection scaledValues =
      OnlyCollection(Hex("06 00 ff 09 01 a1 01 85 01 75 08 95 01 "
                         "09 10 15 00 26 ff 00 35 00 46 e8 03 81 02 "
                         "09 11 15 81 25 7f 36 0a fb 46 f6 04 81 02 "
                         "09 12 35 05 45 05 81 02 "
                         "09 13 15 05 25 05 35 00 45 00 81 02 "
                         "09 14 15 00 25 ff 81 02 c0"));

  const ValueCase cases[] = {
      // 12-bit X/Y of the receiver, -2047..2047, no physical range.
      {"X -1", 1, 0x30, "02 ff ff 7f", 0xFFF, kHidpStatusSuccess, -1},
      {"Y 2047 across a byte boundary", 1, 0x31, "02 ff ff 7f", 0x7FF, kHidpStatusSuccess, 2047},
      {"X -2048 is outside -2047..2047", 1, 0x30, "02 00 08 00", 0x800, kHidpStatusNull, 0},
      {"wheel -127", 1, 0x38, "01 00 81 00", 0x81, kHidpStatusSuccess, -127},
      {"AC pan +1", 0x0C, 0x238, "01 00 00 01", 0x01, kHidpStatusSuccess, 1},
  };
  const ValueCase scaledCases[] = {
      {"top of 0..255", 0xFF00, 0x10, "01 ff 00 00 05 c8", 0xFF, kHidpStatusSuccess, 1000},
      {"128 of 0..255 truncates", 0xFF00, 0x10, "01 80 00 00 05 c8", 0x80, kHidpStatusSuccess, 501},
      {"bottom of -127..127", 0xFF00, 0x11, "01 00 81 00 05 c8", 0x81, kHidpStatusSuccess, -1270},
      {"1 of -127..127", 0xFF00, 0x11, "01 00 01 00 05 c8", 0x01, kHidpStatusSuccess, 10},
      {"-128 is the null value", 0xFF00, 0x11, "01 00 80 00 05 c8", 0x80, kHidpStatusNull, 0},
      {"physical range of one point", 0xFF00, 0x12, "01 00 00 00 05 c8", 0x00,
       kHidpStatusBadLogPhyValues, 0},
      {"logical range of one point", 0xFF00, 0x13, "01 00 00 00 05 c8", 0x05,
       kHidpStatusBadLogPhyValues, 0},
      {"0..255 declared with 25 ff is unsigned", 0xFF00, 0x14, "01 00 00 00 05 c8", 0xC8,
       kHidpStatusSuccess, 200},
  };
  auto check = [](const TopLevelCollection& c, const ValueCase& v) {
    const std::vector<uint8_t> report = Hex(v.report);
    uint32_t raw = 0;
    int32_t scaled = 12345;
    EXPECT_EQ(GetUsageValue(c, ReportKind::Input, v.page, v.usage, report, raw), kHidpStatusSuccess)
        << v.name;
    EXPECT_EQ(raw, v.raw) << v.name;
    EXPECT_EQ(GetScaledUsageValue(c, ReportKind::Input, v.page, v.usage, report, scaled),
              v.scaledStatus)
        << v.name;
    EXPECT_EQ(scaled, v.scaled) << v.name;
  };
  for (const ValueCase& v : cases) check(xiaomi.collections.at(0), v);
  for (const ValueCase& v : scaledCases) check(scaledValues, v);
}

// The vendor command collection of a Windows-style device: report id 4, 63 data bytes each way.
TEST(ReportDecodeValues, VendorCommandCollection) {
  const TopLevelCollection c =
      OnlyCollection(Hex("06 1c ff 09 92 a1 01 85 04 09 01 15 00 26 ff 00 75 08 95 3f 81 02 "
                         "09 01 95 3f 91 02 c0"));
  EXPECT_EQ(c.usagePage, 0xFF1C);
  EXPECT_EQ(c.usage, 0x92);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 64);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Output), 64);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Feature), 0);
  ASSERT_EQ(c.ValueCaps(ReportKind::Input).size(), 1u);
  EXPECT_TRUE(c.ButtonCaps(ReportKind::Input).empty());

  std::vector<uint8_t> report(64, 0);
  report[0] = 4;
  report[1] = 0xAA;
  report[2] = 0x55;
  uint32_t raw = 0;
  EXPECT_EQ(GetUsageValue(c, ReportKind::Input, 0xFF1C, 1, report, raw), kHidpStatusSuccess);
  EXPECT_EQ(raw, 0xAAu);  // the usage's first element
  report.pop_back();
  EXPECT_EQ(GetUsageValue(c, ReportKind::Input, 0xFF1C, 1, report, raw),
            kHidpStatusInvalidReportLength);
}

// Collections put together by hand (no spans, no report sizes) decode the same way.
TEST(ReportDecodeValues, HandBuiltCollection) {
  TopLevelCollection c;
  ReportField f;
  f.reportSize = 8;
  f.reportCount = 1;
  f.flags = 0x02;
  f.usagePage = 1;
  f.usages = {0x30};
  f.usageMin = f.usageMax = 0x30;
  f.logicalMin = -127;
  f.logicalMax = 127;
  c.fields.push_back(f);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 2);
  int32_t scaled = 0;
  EXPECT_EQ(GetScaledUsageValue(c, ReportKind::Input, 1, 0x30, Hex("00 f0"), scaled),
            kHidpStatusSuccess);
  EXPECT_EQ(scaled, -16);
  ASSERT_EQ(c.ValueCaps(ReportKind::Input).size(), 1u);
}

// For every recorded descriptor and every input report: a report of exactly the announced length
// decodes, one byte less is refused, and no report carries more usages than MaxUsageListLength.
TEST(ReportDecodeFixtures, ReportLengthsAndUsageBoundsAgree) {
  for (const auto& entry : std::filesystem::directory_iterator(testing::DescriptorFixtureDir())) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".hex" || name.starts_with("malformed-")) continue;
    const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture(name));
    for (const TopLevelCollection& c : d.collections) {
      for (uint8_t id : c.ReportIds(ReportKind::Input)) {
        const size_t length = 1 + (c.ReportBits(ReportKind::Input, id) + 7) / 8;
        EXPECT_LE(length, c.ReportByteLength(ReportKind::Input)) << name;
        for (uint8_t fill : {0x00, 0x55, 0xFF}) {
          std::vector<uint8_t> report(length, fill);
          report[0] = id;
          for (const ButtonCap& cap : c.ButtonCaps(ReportKind::Input)) {
            if (cap.reportId != id) continue;
            std::vector<uint16_t> usages;
            const uint32_t capacity = c.MaxUsageListLength(ReportKind::Input, cap.usagePage);
            EXPECT_EQ(GetUsages(c, ReportKind::Input, cap.usagePage, report, capacity, usages),
                      kHidpStatusSuccess)
                << name;
            EXPECT_EQ(GetUsages(c, ReportKind::Input, cap.usagePage,
                                std::span(report).first(length - 1), capacity, usages),
                      kHidpStatusInvalidReportLength)
                << name;
          }
          for (const ValueCap& cap : c.ValueCaps(ReportKind::Input)) {
            if (cap.reportId != id) continue;
            uint32_t raw = 0;
            EXPECT_EQ(GetUsageValue(c, ReportKind::Input, cap.usagePage, cap.usageMin, report, raw),
                      kHidpStatusSuccess)
                << name << " usage " << cap.usageMin;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vorlin
