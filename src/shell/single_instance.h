#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;

namespace vorlin {

// One running program per user. The first start holds an exclusive flock() on a lock file in the
// user's runtime folder and listens on a local socket beside it; a second start finds the lock
// taken, asks the first (through the socket) to come to the front, and is told to exit.
//
// The kernel drops a flock() when its holder dies, so a crashed instance never blocks the next
// start: a lock file or socket file left behind is simply taken over. A holder that does not
// listen (a `vorlin ctl` run driving the devices for a moment) is waited for: the start takes
// the lock once it is let go.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Role {
    kFirst,          // this process is the instance; keep the object alive while running
    kAlreadyRunning  // another instance runs and has been asked to come to the front
  };

  // `runtime_folder` empty = RuntimeFolder(). `name` names the lock ("<name>.lock") and the
  // socket ("<name>.socket").
  explicit SingleInstance(QString runtime_folder = QString(), QString name = QString(),
                          QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the lock or, failing that, wakes the running instance. A lock that cannot be made at
  // all (no runtime folder, no permission) is logged and this process runs as the first: losing
  // the single-instance rule is better than not starting.
  Role Acquire();

  // Takes the lock without listening and without waking anybody: `vorlin ctl`, run while the
  // program is not running, holds it while it drives the devices itself. False when another
  // process holds it. (A lock that cannot be made at all counts as taken, as in Acquire.)
  bool TryLock();

  bool HoldsLock() const { return lock_fd_ >= 0; }
  QString LockPath() const;
  QString SocketPath() const;

  // $XDG_RUNTIME_DIR, else Qt's runtime location (a private per-user folder it creates).
  static QString RuntimeFolder();

  // The request a second instance sends; anything else on the socket is ignored.
  static constexpr char kActivateRequest[] = "activate\n";

 signals:
  // A later start asked this instance to come to the front (the main window shows, restores and
  // raises itself).
  void ActivationRequested();

 private:
  enum class LockResult { kTaken, kHeldElsewhere, kUnavailable };
  LockResult TakeLock();
  void Listen();
  // One attempt to ask the running instance to come to the front.
  bool TryWake() const;
  void OnNewConnection();

  QString folder_;
  QString name_;
  int lock_fd_ = -1;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace vorlin
