#include "app/automation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "app/automation.h"
#include "app/automation_window.h"

namespace vorlin {

namespace {

QWidget* CurrentTopWindow() {
  return TopWindow(nullptr);
}

}  // namespace

struct AutomationRunner::Frame {
  Answer answer;                 // empty once answered
  QPointer<QWidget> top_before;  // the modal window or menu on top when the action began
  QPointer<QWidget> opened;      // the last window the action opened
};

AutomationRunner::AutomationRunner(QObject* parent) : QObject(parent) {}

AutomationRunner::~AutomationRunner() {
  if (!frames_.empty()) qApp->removeEventFilter(this);
}

void AutomationRunner::Post(Action action, Answer answer) {
  QMetaObject::invokeMethod(
      this,
      [this, action = std::move(action), answer = std::move(answer)]() mutable {
        Run(action, std::move(answer));
      },
      Qt::QueuedConnection);
}

void AutomationRunner::Run(const Action& action, Answer answer) {
  auto frame = std::make_shared<Frame>();
  frame->answer = std::move(answer);
  frame->top_before = CurrentTopWindow();
  if (frames_.empty()) qApp->installEventFilter(this);
  frames_.push_back(frame);

  const QString error = action();  // may run a modal window's loop

  // Actions nest strictly: the one that returns is the last one begun.
  frames_.pop_back();
  if (frames_.empty()) qApp->removeEventFilter(this);
  if (frame->answer) frame->answer(AutomationReply(error));
}

bool AutomationRunner::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->isWindow() && !check_posted_) {
    // The window's own loop starts right after it is shown: look from there.
    check_posted_ = true;
    QTimer::singleShot(0, this, &AutomationRunner::CheckTopWindow);
  }
  return QObject::eventFilter(watched, event);
}

void AutomationRunner::CheckTopWindow() {
  check_posted_ = false;
  if (frames_.empty()) return;
  QWidget* top = CurrentTopWindow();
  Frame& frame = *frames_.back();
  if (!top || !top->isVisible() || top == frame.top_before || top == frame.opened) return;
  frame.opened = top;
  if (!frame.answer) return;
  QJsonObject reply = AutomationReply();
  reply.insert(QStringLiteral("opened"), ControlIdentity(top));
  const Answer answer = std::move(frame.answer);
  frame.answer = nullptr;
  answer(reply);
}

}  // namespace vorlin
