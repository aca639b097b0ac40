#include "sim/fault_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlin {
namespace {

// One letter per report: '.' nothing, 'F' status fault, 'W' wrong echo, 'D' delayed, 'N' no
// reply, 'U' unplug before taking, 'X' unplug instead of replying.
std::string Decisions(FaultPlan& plan, const std::string& commandFlags) {
  std::string out;
  for (char c : commandFlags) {
    const FaultDecision d = plan.Next(c == 'c');
    std::string mark;
    if (d.unplugBeforeTaking) mark += 'U';
    if (d.unplugInsteadOfReply) mark += 'X';
    if (d.status) mark += 'F';
    if (d.wrongEcho) mark += 'W';
    if (d.delayMs) mark += 'D';
    if (d.noReply) mark += 'N';
    out += mark.empty() ? "." : mark;
    out += ' ';
  }
  return out;
}

TEST(FaultPlan, CountsDownEachFault) {
  struct Case {
    const char* name;
    void (*arm)(FaultPlan&);
    const char* reports;  // 'c' command report, 'o' other output report
    const char* expected;
  };
  const Case cases[] = {
      {"two failures", [](FaultPlan& p) { p.FailReplies(2, 0xFE); }, "ccc", "F F . "},
      {"failures skip other reports", [](FaultPlan& p) { p.FailReplies(1, 0xFF); }, "occ",
       ". F . "},
      {"wrong echo", [](FaultPlan& p) { p.WrongEcho(1); }, "cc", "W . "},
      {"delay", [](FaultPlan& p) { p.DelayReplies(2, 300); }, "ccc", "D D . "},
      {"no reply", [](FaultPlan& p) { p.DropReplies(1); }, "cc", "N . "},
      {"side by side", [](FaultPlan& p) { p.DelayReplies(2, 5), p.WrongEcho(1); }, "ccc",
       "WD D . "},
      {"unplug after two", [](FaultPlan& p) { p.UnplugAfter(2); }, "cocc", ". . U . "},
      {"unplug now", [](FaultPlan& p) { p.UnplugAfter(0); }, "cc", "U . "},
      {"unplug instead of the second reply",
       [](FaultPlan& p) { p.UnplugAfter(2, UnplugPoint::InsteadOfReply); }, "ccc", ". X . "},
      {"unplug instead of a reply, counting other reports",
       [](FaultPlan& p) { p.UnplugAfter(2, UnplugPoint::InsteadOfReply); }, "occ", ". X . "},
      {"an unplugging report is not failed as well",
       [](FaultPlan& p) { p.FailReplies(2, 0xFF), p.UnplugAfter(1); }, "ccc", "F U F "},
      {"cleared", [](FaultPlan& p) { p.FailReplies(3, 0xFF), p.Clear(); }, "cc", ". . "},
      {"negative counts arm nothing",
       [](FaultPlan& p) { p.FailReplies(-1, 0xFF), p.DropReplies(-4); }, "c", ". "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FaultPlan plan;
    c.arm(plan);
    EXPECT_EQ(Decisions(plan, c.reports), c.expected);
    EXPECT_TRUE(plan.Idle());
  }
}

TEST(FaultPlan, CarriesStatusDelayAndFollowUp) {
  FaultPlan plan;
  plan.FailReplies(1, 0xFE);
  plan.DelayReplies(1, 250);
  plan.WrongEcho(1, true);
  EXPECT_FALSE(plan.Idle());
  const FaultDecision d = plan.Next(true);
  ASSERT_TRUE(d.status.has_value());
  EXPECT_EQ(*d.status, 0xFE);
  EXPECT_EQ(d.delayMs, 250);
  EXPECT_TRUE(d.wrongEcho);
  EXPECT_TRUE(d.correctAfterWrongEcho);
}

}  // namespace
}  // namespace vorlin
