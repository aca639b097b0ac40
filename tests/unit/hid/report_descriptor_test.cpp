#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "descriptor_fixtures.h"

namespace vorlin {
namespace {

using testing::Hex;
using testing::LoadDescriptorFixture;
using testing::ParseOrFail;

// Every recorded descriptor is accepted; every hand-made malformed variant is refused with a
// reason, exactly as the kernel's HID core treats them.
TEST(ReportDescriptorFixtures, MalformedAreRefusedAllOthersAccepted) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::DescriptorFixtureDir())) {
    if (entry.path().extension() != ".hex") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    const std::vector<uint8_t> bytes = LoadDescriptorFixture(name);
    ParsedDescriptor parsed;
    std::string error;
    const bool ok = ParseReportDescriptor(bytes, parsed, &error);
    if (name.starts_with("malformed-")) {
      EXPECT_FALSE(ok) << name;
      EXPECT_FALSE(error.empty()) << name;
      EXPECT_TRUE(parsed.collections.empty()) << name;
    } else {
      EXPECT_TRUE(ok) << name << ": " << error;
    }
  }
  EXPECT_GE(files, 79);
}

TEST(ReportDescriptorFixtures, ThreeButtonMouse) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("mouse-3button.hex"));
  ASSERT_EQ(d.collections.size(), 1u);
  const TopLevelCollection& c = d.collections[0];
  EXPECT_EQ(c.usagePage, 1);
  EXPECT_EQ(c.usage, 2);
  EXPECT_FALSE(c.usesReportIds);
  EXPECT_EQ(c.ReportIds(ReportKind::Input), std::vector<uint8_t>{0});
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 4);  // 3 data bytes + the id byte
  EXPECT_EQ(c.ReportByteLength(ReportKind::Output), 0);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Feature), 0);

  ASSERT_EQ(c.fields.size(), 3u);  // buttons, padding, X/Y (from inside nested collections)
  EXPECT_EQ(c.fields[1].bitOffset, 3u);
  EXPECT_TRUE(c.fields[1].IsConstant());
  const ReportField& xy = c.fields[2];
  EXPECT_EQ(xy.bitOffset, 8u);
  EXPECT_EQ(xy.reportSize, 8u);
  EXPECT_EQ(xy.reportCount, 2u);
  EXPECT_EQ(xy.logicalMin, -127);
  EXPECT_EQ(xy.logicalMax, 127);
  EXPECT_EQ(xy.usages, (std::vector<uint16_t>{0x30, 0x31}));

  const std::vector<ButtonCap> buttons = c.ButtonCaps(ReportKind::Input);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0].usagePage, 9);
  EXPECT_TRUE(buttons[0].isRange);
  EXPECT_EQ(buttons[0].usageMin, 1);
  EXPECT_EQ(buttons[0].usageMax, 3);
  const std::vector<ValueCap> values = c.ValueCaps(ReportKind::Input);
  ASSERT_EQ(values.size(), 2u);  // one per declared usage
  EXPECT_EQ(values[0].usageMin, 0x30);
  EXPECT_EQ(values[1].usageMin, 0x31);
  EXPECT_FALSE(values[1].isRange);
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 9), 3u);
}

TEST(ReportDescriptorFixtures, ReceiverWithMouseAndConsumerCollections) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("mouse-xiaomi-mi-dongle.hex"));
  ASSERT_EQ(d.collections.size(), 2u);
  const TopLevelCollection& mouse = d.collections[0];
  const TopLevelCollection& consumer = d.collections[1];
  EXPECT_TRUE(mouse.usesReportIds);
  EXPECT_TRUE(consumer.usesReportIds);
  EXPECT_EQ(mouse.usagePage, 1);
  EXPECT_EQ(mouse.usage, 2);
  EXPECT_EQ(consumer.usagePage, 0x0C);
  EXPECT_EQ(consumer.usage, 1);
  EXPECT_EQ(mouse.ReportIds(ReportKind::Input), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(consumer.ReportIds(ReportKind::Input), std::vector<uint8_t>{3});
  EXPECT_EQ(mouse.ReportByteLength(ReportKind::Input), 4);
  EXPECT_EQ(consumer.ReportByteLength(ReportKind::Input), 2);

  // Report 2 (X/Y, 12 bits each) starts its own bit count.
  const auto x = std::find_if(mouse.fields.begin(), mouse.fields.end(),
                              [](const ReportField& f) { return f.reportId == 2; });
  ASSERT_NE(x, mouse.fields.end());
  EXPECT_EQ(x->bitOffset, 0u);
  EXPECT_EQ(x->reportSize, 12u);
  EXPECT_EQ(x->logicalMin, -2047);
  EXPECT_EQ(x->logicalMax, 2047);

  // Wheel (page 1) and AC Pan (page 0x0C, declared after a Usage Page change) in report 1.
  const std::vector<ValueCap> values = mouse.ValueCaps(ReportKind::Input);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].usagePage, 1);
  EXPECT_EQ(values[0].usageMin, 0x38);
  EXPECT_EQ(values[1].usagePage, 0x0C);
  EXPECT_EQ(values[1].usageMin, 0x238);
  EXPECT_EQ(values[1].reportId, 1);
  EXPECT_EQ(values[3].reportId, 2);
  EXPECT_EQ(consumer.ButtonCaps(ReportKind::Input).size(), 8u);  // eight 1-bit keys
  EXPECT_EQ(consumer.MaxUsageListLength(ReportKind::Input, 0x0C), 8u);
}

TEST(ReportDescriptorFixtures, KeyboardWithLedsAndConstantFeature) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("keyboard-ms-comfort-sculpt.hex"));
  ASSERT_EQ(d.collections.size(), 1u);  // the consumer collection inside is not top-level
  const TopLevelCollection& c = d.collections[0];
  EXPECT_EQ(c.usage, 6);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Input), 9);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Output), 2);
  EXPECT_EQ(c.ReportByteLength(ReportKind::Feature), 7);
  const std::vector<ButtonCap> keys = c.ButtonCaps(ReportKind::Input);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].usageMin, 0xE0);
  EXPECT_EQ(keys[0].usageMax, 0xE7);
  EXPECT_EQ(keys[1].usageMin, 0x00);
  EXPECT_EQ(keys[1].usageMax, 0x91);
  // 8 modifier bits + 6 array slots.
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 7), 14u);
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 0), 14u);  // page 0: every page
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Output, 8), 3u);
  // The feature report is constant only: it has a length but no capability.
  EXPECT_TRUE(c.ButtonCaps(ReportKind::Feature).empty());
  EXPECT_TRUE(c.ValueCaps(ReportKind::Feature).empty());
}

// Main items outside any collection (a fuzzer-made descriptor the kernel keeps as a regression
// case) are accepted and belong to no collection.
TEST(ReportDescriptorFixtures, ItemsOutsideCollectionsBelongToNone) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("mouse-syzbot-no-collection.hex"));
  EXPECT_TRUE(d.collections.empty());

  // They still take their room in the report the next collection shares.
  const ParsedDescriptor shared =
      ParseOrFail(Hex("75 08 95 01 81 03  05 01 09 02 a1 01 09 30 15 00 25 7f 81 02 c0"));
  ASSERT_EQ(shared.collections.size(), 1u);
  ASSERT_EQ(shared.collections[0].fields.size(), 1u);
  EXPECT_EQ(shared.collections[0].fields[0].bitOffset, 8u);
  EXPECT_EQ(shared.collections[0].ReportByteLength(ReportKind::Input), 3);
}

TEST(ReportDescriptorFixtures, LargestFeatureReportFitsTheLengthType) {
  const ParsedDescriptor d = ParseOrFail(LoadDescriptorFixture("edge-report-count-12288.hex"));
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].ReportByteLength(ReportKind::Feature), 12288 + 1);
}

struct LimitCase {
  const char* name;
  const char* hex;
  bool accepted;
};

// Limits the fixtures do not already cover, each just inside and just outside.
TEST(ReportDescriptorLimits, AcceptedOrRefused) {
  const LimitCase cases[] = {
      {"empty", "", false},
      {"report size 256", "06 00 ff 09 01 a1 01 75 ff 95 01 81 02 c0", true},
      {"report id 255", "06 00 ff 09 01 a1 01 85 ff 09 01 75 08 95 01 81 02 c0", true},
      {"pop without push", "06 00 ff b4 09 01 a1 01 c0", false},
      {"unknown global tag", "06 00 ff c5 01 09 01 a1 01 c0", false},
      {"reserved item type", "06 00 ff 0d 01 09 01 a1 01 c0", true},
      {"unknown local tag", "06 00 ff b9 01 09 01 a1 01 c0", true},
      {"unknown main tag", "06 00 ff 09 01 a1 01 d0 c0", true},
      {"logical max below min", "06 00 ff 09 01 a1 01 15 05 25 01 75 08 95 01 81 02 c0", false},
      {"negative range upside down", "06 00 ff 09 01 a1 01 15 ff 25 fe 75 08 95 01 81 02 c0",
       false},
      {"unsigned maximum 0xffffffff",
       "06 00 ff 09 01 a1 01 15 00 27 ff ff ff ff 75 20 95 01 81 02 c0", true},
      // 8 bits x 12288 + 8 bits x 4095 = 16383 bytes, the longest report with its id byte.
      {"report of 16383 bytes", "06 00 ff 09 01 a1 01 75 08 96 00 30 b1 02 96 ff 0f b1 02 c0",
       true},
      {"report of 16384 bytes", "06 00 ff 09 01 a1 01 75 08 96 00 30 b1 02 96 00 10 b1 02 c0",
       false},
      {"nested delimiters", "06 00 ff a9 01 a9 01 09 01 a1 01 c0", false},
      {"delimiter left open", "06 00 ff 09 01 a1 01 c0 a9 01", false},
      {"delimiter closed without open", "06 00 ff a9 00 09 01 a1 01 c0", false},
  };
  for (const LimitCase& c : cases) {
    ParsedDescriptor parsed;
    std::string error;
    EXPECT_EQ(ParseReportDescriptor(Hex(c.hex), parsed, &error), c.accepted)
        << c.name << " " << error;
  }
}

TEST(ReportDescriptorParse, PushAndPopRestoreTheGlobalState) {
  // Report 1 is pushed, report 2 and its 16-bit size are popped away again.
  const ParsedDescriptor d = ParseOrFail(
      Hex("06 00 ff 09 01 a1 01 85 01 75 08 95 01 a4 85 02 75 10 09 02 81 02 b4 09 03 81 02 c0"));
  ASSERT_EQ(d.collections.size(), 1u);
  const auto& f = d.collections[0].fields;
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].reportId, 2);
  EXPECT_EQ(f[0].reportSize, 16u);
  EXPECT_EQ(f[1].reportId, 1);
  EXPECT_EQ(f[1].reportSize, 8u);
  EXPECT_EQ(f[1].bitOffset, 0u);
}

TEST(ReportDescriptorParse, UsagePagesOfShortAndExtendedUsages) {
  // A Usage Page after a short usage still applies to it; an extended usage keeps its own page.
  const ParsedDescriptor d =
      ParseOrFail(Hex("05 01 09 02 a1 01 0a 38 02 05 0c 15 81 25 7f 75 08 95 01 81 06 "
                      "05 01 0b 38 02 0c 00 81 06 c0"));
  ASSERT_EQ(d.collections.size(), 1u);
  const auto& f = d.collections[0].fields;
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].usagePage, 0x0C);
  EXPECT_EQ(f[0].usages, std::vector<uint16_t>{0x238});
  EXPECT_EQ(f[1].usagePage, 0x0C);
  EXPECT_EQ(f[1].usages, std::vector<uint16_t>{0x238});
  EXPECT_EQ(f[1].bitOffset, 8u);
}

TEST(ReportDescriptorParse, ReportsWithoutIdsRunOnAcrossCollections) {
  // Without report ids both collections share the one input report.
  const ParsedDescriptor d =
      ParseOrFail(Hex("05 01 09 02 a1 01 09 30 15 00 25 7f 75 08 95 01 81 02 c0 "
                      "05 0c 09 01 a1 01 09 e9 75 10 81 02 c0"));
  ASSERT_EQ(d.collections.size(), 2u);
  EXPECT_EQ(d.collections[1].fields[0].bitOffset, 8u);
  EXPECT_EQ(d.collections[0].ReportByteLength(ReportKind::Input), 4);
  EXPECT_EQ(d.collections[1].ReportByteLength(ReportKind::Input), 4);

  // With ids each report counts from 0, and only the id's own fields make its length.
  const ParsedDescriptor ids =
      ParseOrFail(Hex("05 01 09 02 a1 01 85 01 09 30 15 00 25 7f 75 08 95 01 81 02 c0 "
                      "05 0c 09 01 a1 01 85 02 09 e9 75 10 81 02 c0"));
  ASSERT_EQ(ids.collections.size(), 2u);
  EXPECT_EQ(ids.collections[1].fields[0].bitOffset, 0u);
  EXPECT_EQ(ids.collections[0].ReportByteLength(ReportKind::Input), 2);
  EXPECT_EQ(ids.collections[1].ReportByteLength(ReportKind::Input), 3);
}

TEST(ReportDescriptorParse, EveryCollectionAtDepthZeroIsTopLevel) {
  const ParsedDescriptor d = ParseOrFail(
      Hex("05 01 09 02 a1 01 a1 00 c0 c0  06 00 ff 09 07 a1 00 c0  05 0c 09 01 a1 01 c0"));
  ASSERT_EQ(d.collections.size(), 3u);
  EXPECT_EQ(d.collections[1].usagePage, 0xFF00);
  EXPECT_EQ(d.collections[1].usage, 7);
  EXPECT_EQ(d.collections[2].usagePage, 0x0C);
}

TEST(ReportDescriptorParse, CapsFollowDeclaredUsagesAndRanges) {
  // An array over a lone usage, a range and another usage: one cap for each, like the Windows
  // parser.
  const ParsedDescriptor d = ParseOrFail(
      Hex("05 0c 09 01 a1 01 09 05 19 10 29 12 09 20 15 00 25 04 75 08 95 02 81 00 c0"));
  const TopLevelCollection& c = d.collections.at(0);
  const std::vector<ButtonCap> caps = c.ButtonCaps(ReportKind::Input);
  ASSERT_EQ(caps.size(), 3u);
  EXPECT_FALSE(caps[0].isRange);
  EXPECT_EQ(caps[0].usageMin, 5);
  EXPECT_TRUE(caps[1].isRange);
  EXPECT_EQ(caps[1].usageMin, 0x10);
  EXPECT_EQ(caps[1].usageMax, 0x12);
  EXPECT_EQ(caps[2].usageMin, 0x20);
  EXPECT_EQ(c.fields.at(0).spans.size(), 3u);
  EXPECT_TRUE(c.fields.at(0).usages.empty());
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 0x0C), 2u);  // two array slots
}

TEST(ReportDescriptorParse, HugeRangesStayOneCapAndAreCutToTheElements) {
  // A 16-bit array range is one cap, not 65536 usages; a variable item only carries as many usages
  // as it has elements.
  const ParsedDescriptor d =
      ParseOrFail(Hex("06 00 ff 09 01 a1 01 19 00 2a ff ff 15 00 27 ff ff 00 00 75 10 95 04 81 00 "
                      "05 09 19 01 2a ff ff 15 00 25 01 75 01 95 10 81 02 "
                      "05 01 09 30 09 31 09 32 15 00 25 7f 75 08 95 02 81 02 c0"));
  const TopLevelCollection& c = d.collections.at(0);
  const std::vector<ButtonCap> buttons = c.ButtonCaps(ReportKind::Input);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].usageMin, 0);
  EXPECT_EQ(buttons[0].usageMax, 0xFFFF);
  EXPECT_EQ(buttons[1].usageMin, 1);
  EXPECT_EQ(buttons[1].usageMax, 16);
  EXPECT_TRUE(c.fields[0].usages.empty());
  const std::vector<ValueCap> values = c.ValueCaps(ReportKind::Input);
  ASSERT_EQ(values.size(), 2u);  // Z has no element
  EXPECT_EQ(values[1].usageMin, 0x31);
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 0xFF00), 4u);
  EXPECT_EQ(c.MaxUsageListLength(ReportKind::Input, 9), 16u);
}

TEST(ReportDescriptorParse, FailureLeavesNoCollectionsAndNamesTheOffset) {
  ParsedDescriptor parsed;
  parsed.collections.emplace_back();
  std::string error;
  EXPECT_FALSE(ParseReportDescriptor(LoadDescriptorFixture("malformed-report-size-257.hex"), parsed,
                                     &error));
  EXPECT_TRUE(parsed.collections.empty());
  EXPECT_NE(error.find("offset 46"), std::string::npos) << error;
  EXPECT_FALSE(ParseReportDescriptor(Hex("05"), parsed));  // no error string wanted
}

}  // namespace
}  // namespace vorlin
