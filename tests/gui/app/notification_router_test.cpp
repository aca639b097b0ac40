#include <gtest/gtest.h>

#include <QPushButton>

#include "app/notification_router.h"

namespace vorlin {
namespace {

TEST(SplitControlNameTest, SplitsATrailingDecimalNumber) {
  const struct {
    const char* name;
    std::optional<SplitName> expected;
  } cases[] = {
      {"key_12", SplitName{"key_", 12}},
      {"DPI_slider_3", SplitName{"DPI_slider_", 3}},
      {"color_option_0", SplitName{"color_option_", 0}},
      {"6533_eq_hz_slider_07", SplitName{"6533_eq_hz_slider_", 7}},
      {"closebtn", std::nullopt},
      {"Virtual7.1_Op_tab", std::nullopt},
      {"1234", std::nullopt},  // a number alone has no prefix
      {"", std::nullopt},
      {"key_12345678901", std::nullopt},  // does not fit: not a numbered control
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitControlName(QString::fromLatin1(c.name)), c.expected) << c.name;
  }
}

class RouterTest : public ::testing::Test {
 protected:
  Notification Make(const char* type, const char* name) {
    auto* button = new QPushButton(&window_);
    button->setObjectName(QString::fromLatin1(name));
    return Notification{QString::fromLatin1(type), button};
  }
  QWidget window_;
  NotificationRouter router_;
  QStringList calls_;
};

TEST_F(RouterTest, RoutesByTypeWholeNameAndPrefix) {
  router_.On("click", "closebtn",
             [this](const Notification&, int n) { calls_ << QStringLiteral("close %1").arg(n); });
  router_.On("click", "key_",
             [this](const Notification&, int n) { calls_ << QStringLiteral("key %1").arg(n); });
  // A control listed whole wins over its prefix.
  router_.On("click", "key_2",
             [this](const Notification&, int n) { calls_ << QStringLiteral("key two %1").arg(n); });
  router_.On("selectchanged", "key_",
             [this](const Notification&, int n) { calls_ << QStringLiteral("select %1").arg(n); });

  const struct {
    const char* type;
    const char* name;
    NotificationRouter::Result result;
  } cases[] = {
      {"click", "closebtn", NotificationRouter::Result::kHandled},
      {"CLICK", "key_14", NotificationRouter::Result::kHandled},  // types ignore case
      {"click", "key_2", NotificationRouter::Result::kHandled},
      {"SelectChanged", "key_7", NotificationRouter::Result::kHandled},
      {"click", "Key_3", NotificationRouter::Result::kUnrouted},  // names are exact
      {"click", "key_", NotificationRouter::Result::kUnrouted},   // the prefix needs a number
      {"valuechanged", "key_1", NotificationRouter::Result::kUnrouted},
      {"click", "closebtn2", NotificationRouter::Result::kUnrouted},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(router_.Route(Make(c.type, c.name)), c.result) << c.type << " " << c.name;
  }
  EXPECT_EQ(calls_, QStringList({"close -1", "key 14", "key two -1", "select 7"}));
}

TEST_F(RouterTest, TypeEntriesTakeEveryControlAndLaterEntriesReplace) {
  router_.OnType("timer", [this](const Notification& n, int) { calls_ << n.SenderName(); });
  router_.On("click", "minbtn", [this](const Notification&, int) { calls_ << "first"; });
  router_.On("click", "minbtn", [this](const Notification&, int) { calls_ << "second"; });
  router_.Route(Make("Timer", "root"));
  router_.Route(Make("click", "minbtn"));
  EXPECT_EQ(calls_, QStringList({"root", "second"}));
  EXPECT_TRUE(router_.Routes("TIMER", "anything"));
  EXPECT_FALSE(router_.Routes("click", "maxbtn"));
}

}  // namespace
}  // namespace vorlin
