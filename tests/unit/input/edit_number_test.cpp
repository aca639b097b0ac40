#include "input/edit_number.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorlin {
namespace {

TEST(EditNumberTest, ReadsTheLeadingDecimalNumber) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {
      {"50", 50},
      {"  7", 7},
      {"+12", 12},
      {"-3", -3},
      {"12ab", 12},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"0x1F", 0},
      {"007", 7},
      {"99999999999", std::numeric_limits<int>::max()},
      {"-99999999999", std::numeric_limits<int>::min()},
      {"2147483647", std::numeric_limits<int>::max()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadEditNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace vorlin
