#include "sim/trace_format.h"

#include <gtest/gtest.h>

#include "hid/command_report.h"

namespace vorlin {
namespace {

TEST(TraceFormat, FoldsTrailingZerosButKeepsTheHeader) {
  TraceRecord request;
  request.direction = TraceDirection::ToDevice;
  request.node = "vbus/3";
  const CommandReport begin = MakeCommandReport(kCmdBeginConfig, 0, 0);
  request.bytes.assign(begin.begin(), begin.end());
  TraceRecord reply = request;
  reply.direction = TraceDirection::ToHost;
  reply.bytes[8] = 0xff;
  TraceRecord event;
  event.direction = TraceDirection::ToHost;
  event.node = "vbus/7";
  event.bytes = {0x03, 0x01, 0x04};

  const std::vector<std::string> lines = FormatTrace({request, reply, event});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "> vbus/3 04 01 00 01 00 00 00 00 ... (56 zero bytes)");
  EXPECT_EQ(lines[1], "< vbus/3 04 01 00 01 00 00 00 00 ff ... (55 zero bytes)");
  EXPECT_EQ(lines[2], "< vbus/7 03 01 04");
  EXPECT_EQ(JoinLines({"a", "b"}), "a\nb\n");

  const std::string full = FormatTraceRecord(request, false);
  EXPECT_EQ(full.size(), std::string("> vbus/3 ").size() + 64 * 3 - 1);
}

}  // namespace
}  // namespace vorlin
