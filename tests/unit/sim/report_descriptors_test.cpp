#include "sim/report_descriptors.h"

#include <gtest/gtest.h>

#include <set>

#include "hid/report_descriptor.h"

namespace vorlin {
namespace {

ParsedDescriptor Parse(const std::vector<uint8_t>& bytes) {
  ParsedDescriptor parsed;
  std::string error;
  EXPECT_TRUE(ParseReportDescriptor(bytes, parsed, &error)) << error;
  return parsed;
}

TEST(ReportDescriptors, VendorInterfaceHasFourCollectionsInOrder) {
  const ParsedDescriptor d = Parse(VendorInterfaceDescriptor());
  ASSERT_EQ(d.collections.size(), 4u);
  const std::pair<uint16_t, uint16_t> expected[] = {
      {0x01, 0x06}, {0x01, 0x80}, {0x0C, 0x01}, {0xFF1C, 0x92}};
  std::set<uint8_t> ids;
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(d.collections[i].usagePage, expected[i].first);
    EXPECT_EQ(d.collections[i].usage, expected[i].second);
    EXPECT_TRUE(d.collections[i].usesReportIds);
    for (ReportKind kind : {ReportKind::Input, ReportKind::Output, ReportKind::Feature}) {
      for (uint8_t id : d.collections[i].ReportIds(kind)) {
        if (id != 0) ids.insert(id);
      }
    }
  }
  // Report ids never repeat across collections: each collection owns its own.
  EXPECT_EQ(ids, (std::set<uint8_t>{1, 2, 3, 4}));

  const TopLevelCollection& command = d.collections[kCommandCollection - 1];
  EXPECT_EQ(command.ReportIds(ReportKind::Input), std::vector<uint8_t>{4});
  EXPECT_EQ(command.ReportByteLength(ReportKind::Input), 64);
  EXPECT_EQ(command.ReportByteLength(ReportKind::Output), 64);
  EXPECT_EQ(d.collections[kEventCollection - 1].ReportByteLength(ReportKind::Input), 3);
}

TEST(ReportDescriptors, EventCodesDecodeAsConsumerUsages) {
  const ParsedDescriptor d = Parse(VendorInterfaceDescriptor());
  const TopLevelCollection& events = d.collections[kEventCollection - 1];
  const std::vector<ButtonCap> caps = events.ButtonCaps(ReportKind::Input);
  ASSERT_FALSE(caps.empty());
  EXPECT_EQ(caps[0].usagePage, 0x0C);
  EXPECT_EQ(caps[0].usageMin, 0x0000);
  EXPECT_EQ(caps[0].usageMax, 0x1FFF);
  for (uint16_t code : {0x0401, 0x0402, 0x0403, 0x0512, 0x0612, 0x1005, 0x1123, 0x11F4}) {
    SCOPED_TRACE(code);
    const std::vector<uint8_t> report = EventReport(code);
    EXPECT_EQ(report, (std::vector<uint8_t>{3, static_cast<uint8_t>(code & 0xFF),
                                            static_cast<uint8_t>(code >> 8)}));
    std::vector<uint16_t> usages;
    ASSERT_EQ(GetUsages(events, ReportKind::Input, 0x0C, report, 8, usages), kHidpStatusSuccess);
    ASSERT_FALSE(usages.empty());
    EXPECT_EQ(usages[0], code);
  }
}

TEST(ReportDescriptors, BootInterfacesParseWithoutReportIds) {
  for (const auto& bytes : {BootMouseDescriptor(), BootKeyboardDescriptor()}) {
    const ParsedDescriptor d = Parse(bytes);
    ASSERT_EQ(d.collections.size(), 1u);
    EXPECT_FALSE(d.collections[0].usesReportIds);
    EXPECT_EQ(d.collections[0].usagePage, 0x01);
  }
  // Buttons, X, Y and wheel, plus the report id byte that the length counts even without ids.
  EXPECT_EQ(Parse(BootMouseDescriptor()).collections[0].ReportByteLength(ReportKind::Input), 5);
  EXPECT_EQ(Parse(BootKeyboardDescriptor()).collections[0].ReportByteLength(ReportKind::Input), 9);
}

TEST(ReportDescriptors, HeadsetCarriesCommandsAndLightingInOneCollection) {
  const ParsedDescriptor d = Parse(HeadsetDescriptor());
  ASSERT_EQ(d.collections.size(), 1u);
  const TopLevelCollection& c = d.collections[0];
  EXPECT_EQ(c.usagePage, 0x0C);
  EXPECT_EQ(c.usage, 0x01);
  EXPECT_EQ(c.ReportIds(ReportKind::Input), std::vector<uint8_t>{4});
  EXPECT_EQ(c.ReportIds(ReportKind::Output), (std::vector<uint8_t>{4, 0xFF}));
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 64);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Output), 64);
}

}  // namespace
}  // namespace vorlin
