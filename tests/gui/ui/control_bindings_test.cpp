// Handlers bound to a panel's controls once: by name, by numbered name and by timer; what a
// layout lacks is logged when binding; a notification reaches the handler of its own sender and
// type only; a control that goes away takes its handlers along, even from inside its handler.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/control_bindings.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

// Collects the program's log messages while it lives.
class LogCapture {
 public:
  LogCapture() { previous_ = qInstallMessageHandler(&LogCapture::Collect); }
  ~LogCapture() {
    qInstallMessageHandler(previous_);
    Messages().clear();
  }
  static QStringList& Messages() {
    static QStringList messages;
    return messages;
  }

 private:
  static void Collect(QtMsgType, const QMessageLogContext&, const QString& message) {
    Messages() << message;
  }
  QtMessageHandler previous_ = nullptr;
};

Notification Of(const char* type, QWidget* sender, int timer_id = 0) {
  return Notification{QString::fromLatin1(type), sender, timer_id};
}

// A panel: "save_btn" directly below it, "name_edit" one level deeper, and numbered rows.
class ControlBindingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.setObjectName(QStringLiteral("panel"));
    auto* box = new QVBoxLayout(&panel_);
    save_ = Add<QPushButton>(&panel_, "save_btn");
    auto* group = Add<QWidget>(&panel_, "name_group");
    edit_ = Add<QLineEdit>(group, "name_edit");
    for (const char* name : {"row_0", "row_3", "row_12", "row_", "row_x", "row_3a", "other_1"})
      Add<QPushButton>(group, name);
    box->addWidget(group);
  }

  template <typename T>
  T* Add(QWidget* parent, const char* name) {
    auto* control = new T(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
  }
  QWidget* Find(const char* name) { return panel_.findChild<QWidget*>(QString::fromLatin1(name)); }
  // Binds a handler that notes "tag:sender".
  ControlBindings::Handler Note(const char* tag) {
    return [this, tag](const Notification& n) {
      calls_ << QString::fromLatin1(tag) + u':' + n.SenderName();
    };
  }

  QWidget panel_;
  QPushButton* save_ = nullptr;
  QLineEdit* edit_ = nullptr;
  ControlBindings bindings_;
  QStringList calls_;
};

TEST_F(ControlBindingsTest, NotificationsReachTheHandlerOfTheirSenderAndTypeOnly) {
  ASSERT_TRUE(bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("save")));
  ASSERT_TRUE(bindings_.Bind(&panel_, "name_edit", notify::kKillFocus, Note("left")));
  ASSERT_TRUE(bindings_.Bind(&panel_, "name_edit", notify::kReturn, Note("enter")));
  // The root itself may be bound by its own name.
  ASSERT_TRUE(bindings_.Bind(&panel_, "panel", notify::kWindowSize, Note("size")));

  QWidget elsewhere;
  auto* stranger = Add<QPushButton>(&elsewhere, "save_btn");  // same name, another panel
  const struct {
    Notification n;
    std::optional<const char*> handled_as;
  } cases[] = {
      {Of("click", save_), "save:save_btn"},
      {Of("CLICK", save_), "save:save_btn"},  // types compare without case
      {Of("Click", save_), "save:save_btn"},
      {Of("killfocus", edit_), "left:name_edit"},
      {Of("return", edit_), "enter:name_edit"},
      {Of("windowsize", &panel_), "size:panel"},
      {Of("click", edit_), std::nullopt},  // a type the control is not bound for
      {Of("killfocus", save_), std::nullopt},
      {Of("msenter", save_), std::nullopt},
      {Of("click", stranger), std::nullopt},  // a control of the same name elsewhere
      {Of("click", Find("name_group")), std::nullopt},
      {Of("click", nullptr), std::nullopt},
  };
  for (const auto& c : cases) {
    calls_.clear();
    const QString what = c.n.type + u' ' + c.n.SenderName();
    EXPECT_EQ(bindings_.Dispatch(c.n), c.handled_as.has_value()) << what.toStdString();
    EXPECT_EQ(calls_,
              c.handled_as ? QStringList{QString::fromLatin1(*c.handled_as)} : QStringList{})
        << what.toStdString();
  }
}

TEST_F(ControlBindingsTest, BindingAgainReplacesTheHandler) {
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("first"));
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("second"));
  EXPECT_TRUE(bindings_.Dispatch(Of("click", save_)));
  EXPECT_EQ(calls_, QStringList{"second:save_btn"});
}

TEST_F(ControlBindingsTest, NumberedControlsGetTheirNumber) {
  std::vector<std::pair<QString, int>> got;
  const int bound = bindings_.BindNumbered(
      &panel_, "row_", notify::kClick,
      [&got](const Notification& n, int number) { got.emplace_back(n.SenderName(), number); });
  EXPECT_EQ(bound, 3);
  for (const char* name : {"row_0", "row_3", "row_12", "row_", "row_x", "row_3a", "other_1"})
    bindings_.Dispatch(Of("click", Find(name)));
  const std::vector<std::pair<QString, int>> expected = {
      {QStringLiteral("row_0"), 0}, {QStringLiteral("row_3"), 3}, {QStringLiteral("row_12"), 12}};
  EXPECT_EQ(got, expected);
}

TEST_F(ControlBindingsTest, WhatTheLayoutLacksIsLoggedWhenBindingAndNothingIsBound) {
  LogCapture log;
  EXPECT_FALSE(bindings_.Bind(&panel_, "delete_btn", notify::kClick, Note("delete")));
  EXPECT_FALSE(bindings_.Bind(nullptr, "save_btn", notify::kClick, Note("save")));
  EXPECT_EQ(
      bindings_.BindNumbered(&panel_, "stage_", notify::kClick, [](const Notification&, int) {}),
      0);
  EXPECT_TRUE(bindings_.Empty());
  EXPECT_FALSE(bindings_.Dispatch(Of("click", save_)));
  ASSERT_EQ(LogCapture::Messages().size(), 3) << LogCapture::Messages().join(u'\n').toStdString();
  EXPECT_TRUE(LogCapture::Messages()[0].contains(QLatin1String("delete_btn")));
  EXPECT_TRUE(LogCapture::Messages()[0].contains(QLatin1String("panel")));
  EXPECT_TRUE(LogCapture::Messages()[2].contains(QLatin1String("stage_")));

  // Dispatching logs nothing, found or not.
  LogCapture::Messages().clear();
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("save"));
  bindings_.Dispatch(Of("click", save_));
  bindings_.Dispatch(Of("click", edit_));
  EXPECT_TRUE(LogCapture::Messages().isEmpty());
}

TEST_F(ControlBindingsTest, TimersAreBoundByTheirId) {
  bindings_.BindTimer(edit_, 4101, Note("scroll"));
  EXPECT_TRUE(bindings_.Dispatch(Of("timer", edit_, 4101)));
  EXPECT_TRUE(bindings_.Dispatch(Of("TIMER", edit_, 4101)));
  EXPECT_FALSE(bindings_.Dispatch(Of("timer", edit_, 4102)));  // another timer of the control
  EXPECT_FALSE(bindings_.Dispatch(Of("timer", save_, 4101)));
  EXPECT_FALSE(bindings_.Dispatch(Of("click", edit_, 4101)));
  EXPECT_EQ(calls_, (QStringList{"scroll:name_edit", "scroll:name_edit"}));
}

TEST_F(ControlBindingsTest, ADestroyedControlTakesItsHandlersAlong) {
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("save"));
  bindings_.Bind(&panel_, "save_btn", notify::kMouseEnter, Note("enter"));
  bindings_.BindTimer(save_, 1, Note("tick"));
  delete save_;
  EXPECT_TRUE(bindings_.Empty());
  // A control made afterwards (possibly at the same address) is not bound.
  auto* next = Add<QPushButton>(&panel_, "save_btn");
  EXPECT_FALSE(bindings_.Dispatch(Of("click", next)));
  EXPECT_FALSE(bindings_.Dispatch(Of("timer", next, 1)));
  EXPECT_TRUE(calls_.isEmpty());
}

// Set when the handler's own state is destroyed.
bool g_handler_state_gone = false;
struct HandlerState {
  ~HandlerState() { g_handler_state_gone = true; }
};

TEST_F(ControlBindingsTest, AHandlerThatDestroysItsControlRunsToItsEnd) {
  g_handler_state_gone = false;
  auto state = std::make_shared<HandlerState>();
  static bool gone_while_running = true;
  gone_while_running = true;
  bindings_.BindControl(save_, notify::kClick, [state](const Notification& n) {
    delete n.sender;  // a row's button removing its row
    gone_while_running = g_handler_state_gone;
  });
  state.reset();
  const Notification click = Of("click", save_);
  EXPECT_TRUE(bindings_.Dispatch(click));
  EXPECT_FALSE(gone_while_running);
  // Afterwards the handler is forgotten with its control.
  EXPECT_TRUE(g_handler_state_gone);
  EXPECT_TRUE(bindings_.Empty());
}

TEST_F(ControlBindingsTest, AHandlerMayBindWhileItRuns) {
  // Binding many controls from a handler grows the table under it.
  QWidget rows;
  bindings_.BindControl(save_, notify::kClick, [this, &rows](const Notification& n) {
    for (int i = 0; i < 200; ++i)
      bindings_.BindControl(new QWidget(&rows), notify::kClick, [](const Notification&) {});
    calls_ << QStringLiteral("bound from ") + n.SenderName();
  });
  EXPECT_TRUE(bindings_.Dispatch(Of("click", save_)));
  EXPECT_EQ(calls_, QStringList{"bound from save_btn"});
  EXPECT_TRUE(bindings_.Dispatch(Of("click", rows.findChildren<QWidget*>().back())));
}

TEST_F(ControlBindingsTest, ClearForgetsEveryHandler) {
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("save"));
  bindings_.BindNumbered(&panel_, "row_", notify::kClick, [](const Notification&, int) {});
  bindings_.Clear();
  EXPECT_TRUE(bindings_.Empty());
  EXPECT_FALSE(bindings_.Dispatch(Of("click", save_)));
  EXPECT_FALSE(bindings_.Dispatch(Of("click", Find("row_3"))));
  // Bound again after clearing, a control is watched again: its end still forgets it.
  bindings_.Bind(&panel_, "save_btn", notify::kClick, Note("save"));
  delete save_;
  EXPECT_TRUE(bindings_.Empty());
  EXPECT_TRUE(calls_.isEmpty());
}

}  // namespace
}  // namespace vorlin
