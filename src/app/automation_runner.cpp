#include "app/automation_runner.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "app/automation_window.h"

namespace vorlin {

namespace {

QJsonObject Reply(const QString& error = QString()) {
  QJsonObject reply;
  reply.insert(QStringLiteral("ok"), error.isEmpty());
  reply.insert(QStringLiteral("error"), error);
  return reply;
}

QWidget* CurrentTopWindow() {
  return TopWindow(nullptr);
}

bool Shown(const QPointer<QWidget>& window) {
  return window && window->isVisible();
}

}  // namespace

struct AutomationRunner::Frame {
  Answer answer;                 // empty once answered
  QPointer<QWidget> top_before;  // the modal window or menu on top when the action began
  QPointer<QWidget> opened;      // the last window the action opened
  bool opened_any = false;       // it opened one (`opened` is cleared when it is deleted)
  std::vector<std::function<void()>> deferred;  // replies waiting for this action to go on
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
  std::vector<std::function<void()>> replies;
  if (frame->answer) {
    replies.push_back([answer = std::move(frame->answer), reply = Reply(error)] { answer(reply); });
  }
  for (auto& reply : frame->deferred) replies.push_back(std::move(reply));
  Deliver(std::move(replies));
}

void AutomationRunner::Deliver(std::vector<std::function<void()>> replies) {
  // An action below whose window is gone goes on as soon as the stack unwinds to it: what the
  // closing meant (a confirmed question, a chosen colour) is done then.
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
    Frame& below = **it;
    // Still working without a window of its own, or its window is still up.
    if (!below.opened_any || Shown(below.opened)) continue;
    for (auto& reply : replies) below.deferred.push_back(std::move(reply));
    return;
  }
  for (const auto& reply : replies) reply();
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
  frame.opened_any = true;
  std::vector<std::function<void()>> replies;
  if (frame.answer) {
    QJsonObject reply = Reply();
    reply.insert(QStringLiteral("opened"), ControlIdentity(top));
    replies.push_back([answer = std::move(frame.answer), reply] { answer(reply); });
    frame.answer = nullptr;
  }
  for (auto& reply : frame.deferred) replies.push_back(std::move(reply));
  frame.deferred.clear();
  for (const auto& reply : replies) reply();
}

}  // namespace vorlin
