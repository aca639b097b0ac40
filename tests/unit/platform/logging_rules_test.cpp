// What a run logs by default and with --verbose.

#include <gtest/gtest.h>

#include "platform/log.h"

namespace vorlin {
namespace {

Q_LOGGING_CATEGORY(lcLaterArea, "vorlin.later.area")

TEST(LoggingRulesTest, QuietByDefaultEverythingButTheDumpsWhenVerbose) {
  const struct {
    bool verbose;
    const QLoggingCategory& category;
    bool debug, info, warning;
  } cases[] = {
      {false, lcVorlin(), false, false, true},
      {false, lcReports(), false, false, true},
      // A category declared anywhere under "vorlin." follows the same rules.
      {false, lcLaterArea(), false, false, true},
      {true, lcVorlin(), true, true, true},
      {true, lcLaterArea(), true, true, true},
      // Report dumps stay off until asked for by name.
      {true, lcReports(), false, true, true},
  };
  for (const auto& c : cases) {
    SetUpLogging(c.verbose);
    SCOPED_TRACE(std::string(c.category.categoryName()) + (c.verbose ? " verbose" : " quiet"));
    EXPECT_EQ(c.category.isDebugEnabled(), c.debug);
    EXPECT_EQ(c.category.isInfoEnabled(), c.info);
    EXPECT_EQ(c.category.isWarningEnabled(), c.warning);
  }
  SetUpLogging(false);
}

}  // namespace
}  // namespace vorlin
