#include "hid/command_report.h"

#include <gtest/gtest.h>

#include <numeric>

#include "hid/report_log.h"

namespace vorlin {
namespace {

TEST(CommandReport, BeginConfigIsReportIdChecksumAndCode) {
  const CommandReport r = MakeCommandReport(kCmdBeginConfig, 0, 0);
  EXPECT_EQ(r[0], 0x04);
  EXPECT_EQ(r[1], 0x01);
  EXPECT_EQ(r[2], 0x00);
  EXPECT_EQ(r[3], 0x01);
  for (size_t i = 4; i < r.size(); ++i) EXPECT_EQ(r[i], 0) << "byte " << i;
}

TEST(CommandReport, ChecksumIsTheLittleEndianSumOfBytes3To63) {
  std::array<uint8_t, 56> payload;
  payload.fill(0xFF);
  const CommandReport r = MakeCommandReport(kCmdWriteParams, 56, 0x00B8, payload);
  // 0x06 + 56 + 0xB8 + 0x00 + 56 * 0xFF = 14526 = 0x38BE
  EXPECT_EQ(r[1], 0xBE);
  EXPECT_EQ(r[2], 0x38);
  EXPECT_EQ(OffsetOf(r), 0x00B8);
  EXPECT_EQ(PayloadLengthOf(r), 56);
  EXPECT_EQ(CommandChecksum(r), 0x38BE);
}

TEST(CommandReport, PayloadLongerThan56BytesIsCut) {
  std::vector<uint8_t> payload(100, 1);
  const CommandReport r = MakeCommandReport(kCmdWriteMacroData, 56, 0, payload);
  EXPECT_EQ(std::accumulate(r.begin() + 8, r.end(), 0), 56);
}

TEST(ReportLog, LinesGroupBytesInFoursWithWiderGapsFirst) {
  std::array<uint8_t, 32> bytes{};
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 9);
  EXPECT_EQ(FormatReportLine(bytes),
            "00 09 12 1b   24 2d 36 3f   48 51 5a 63   6c 75 7e 87  90 99 a2 ab  b4 bd c6 cf  "
            "d8 e1 ea f3  fc 05 0e 17");
}

}  // namespace
}  // namespace vorlin
