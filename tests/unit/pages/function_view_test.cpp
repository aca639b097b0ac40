// The function panels each view code shows.
#include <gtest/gtest.h>

#include "pages/function_view.h"

namespace vorlin {
namespace {

TEST(FunctionViewTest, EveryCodeChoosesItsTabs) {
  struct Case {
    int view;
    uint32_t kind;
    FunctionTabs tabs;
  };
  const Case cases[] = {
      {2, 2, {0, 1}},  {6, 3, {0, 1}},  {3, 2, {1, -1}}, {8, 7, {1, -1}},
      {4, 2, {3, -1}}, {4, 1, {3, -1}}, {4, 3, {0, 2}},  {4, 7, {0, 2}},
      {7, 2, {0, 2}},  {5, 1, {2, -1}}, {1, 2, {0, 0}},  {0, 2, {0, 0}},
      {9, 2, {4, -1}}, {10, 2, {0, 0}}, {-1, 2, {0, 0}},
  };
  for (const Case& c : cases) {
    const FunctionTabs tabs = FunctionTabsFor(c.view, c.kind);
    EXPECT_EQ(tabs.function, c.tabs.function) << "view " << c.view << " kind " << c.kind;
    EXPECT_EQ(tabs.keyFunction, c.tabs.keyFunction) << "view " << c.view << " kind " << c.kind;
  }
}

}  // namespace
}  // namespace vorlin
