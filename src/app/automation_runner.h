#pragma once

// Runs the acting requests of the automation interface (a click, a choice) so that a request
// whose handling opens a modal window or a menu is answered once that window is up, while the
// window's own event loop runs below the request's handling.
//
// Every action runs from a queued call of the runner, never inside a client's socket handler: the
// socket (or the whole connection) may go while a modal window's loop runs, and nothing of it may
// be on the stack then. The runner keeps a stack of the actions in progress (an action that opens
// a modal window stays in progress until the window closes; a later request may then open another
// one above it). An action is answered when it returns or when a new modal window or menu becomes
// the top window while it runs, whichever comes first. An action that closes a modal window is
// answered from inside that window's loop, which ends right after; the next request of the client
// is read from the loop below, once the window's opener has gone on.

#include <functional>
#include <memory>
#include <vector>

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vorlin {

class AutomationRunner : public QObject {
  Q_OBJECT

 public:
  // Receives the reply of an action, exactly once.
  using Answer = std::function<void(const QJsonObject& reply)>;
  // Performs the action; returns an error text, empty on success.
  using Action = std::function<QString()>;

  explicit AutomationRunner(QObject* parent = nullptr);
  ~AutomationRunner() override;

  // Runs `action` from the event loop, soon; `answer` receives its reply.
  void Post(Action action, Answer answer);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Frame;

  void Run(const Action& action, Answer answer);
  // A window was shown: looks, from the event loop, whether a new one is on top.
  void CheckTopWindow();

  std::vector<std::shared_ptr<Frame>> frames_;
  bool check_posted_ = false;
};

}  // namespace vorlin
