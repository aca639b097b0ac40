#include "shell/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

#include "platform/log.h"
#include "shell/app_identity.h"

namespace vorlin {

namespace {

// The first instance takes its lock a moment before it listens, and a `vorlin ctl` run holds it
// without listening while it drives the devices: a later start tries again for a bounded time
// (longer than a `vorlin ctl` run waits for its devices).
constexpr int kConnectAttempts = 80;
constexpr int kConnectWaitMs = 100;
constexpr int kWriteWaitMs = 1000;

// A peer gets this many bytes to say what it wants; more (or anything else) is not a request.
constexpr qint64 kMaxRequestBytes = 64;

}  // namespace

SingleInstance::SingleInstance(QString runtime_folder, QString name, QObject* parent)
    : QObject(parent),
      folder_(runtime_folder.isEmpty() ? RuntimeFolder() : std::move(runtime_folder)),
      name_(name.isEmpty() ? QString::fromLatin1(kAppName) : std::move(name)) {}

SingleInstance::~SingleInstance() {
  if (server_) {
    server_->close();  // removes the socket file
    server_.reset();
  }
  if (lock_fd_ >= 0) {
    // The lock file stays: unlinking it would let a start that already opened it lock the orphan
    // while the next start locks a new file, and two instances would run.
    ::close(lock_fd_);
    lock_fd_ = -1;
  }
}

QString SingleInstance::RuntimeFolder() {
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!xdg.isEmpty() && QDir(xdg).exists()) return xdg;
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleInstance::LockPath() const {
  return QDir(folder_).filePath(name_ + QStringLiteral(".lock"));
}

QString SingleInstance::SocketPath() const {
  return QDir(folder_).filePath(name_ + QStringLiteral(".socket"));
}

SingleInstance::Role SingleInstance::Acquire() {
  if (lock_fd_ >= 0) return Role::kFirst;
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    switch (TakeLock()) {
      case LockResult::kTaken:
        Listen();
        return Role::kFirst;
      case LockResult::kUnavailable:
        return Role::kFirst;
      case LockResult::kHeldElsewhere:
        break;
    }
    if (TryWake()) return Role::kAlreadyRunning;
    // Refused or missing socket: the first instance has not started listening yet, or the holder
    // is a `vorlin ctl` run that lets go in a moment.
    QThread::msleep(kConnectWaitMs);
  }
  qCWarning(lcVorlin) << "another instance holds" << LockPath()
                      << "but does not answer; exiting anyway";
  return Role::kAlreadyRunning;
}

bool SingleInstance::TryLock() {
  if (lock_fd_ >= 0) return true;
  return TakeLock() != LockResult::kHeldElsewhere;
}

SingleInstance::LockResult SingleInstance::TakeLock() {
  if (folder_.isEmpty() || !QDir().mkpath(folder_)) {
    qCWarning(lcVorlin) << "no runtime folder for the instance lock; running unguarded";
    return LockResult::kUnavailable;
  }
  const QByteArray path = QFile::encodeName(LockPath());
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    qCWarning(lcVorlin) << "cannot open the instance lock" << LockPath() << std::strerror(errno)
                        << "; running unguarded";
    return LockResult::kUnavailable;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return LockResult::kHeldElsewhere;  // a live instance holds it
    qCWarning(lcVorlin) << "cannot lock" << LockPath() << std::strerror(error)
                        << "; running unguarded";
    return LockResult::kUnavailable;
  }
  // The process id in the file is for people looking at it; the lock itself is what counts.
  const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::write(fd, pid.constData(), pid.size());
  }
  lock_fd_ = fd;
  return LockResult::kTaken;
}

void SingleInstance::Listen() {
  // Holding the lock means no live instance listens here: a socket file is a crash's leftover.
  QLocalServer::removeServer(SocketPath());
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
  if (!server_->listen(SocketPath())) {
    qCWarning(lcVorlin) << "cannot listen on" << SocketPath() << server_->errorString()
                        << "; later starts cannot bring this window to the front";
  }
}

bool SingleInstance::TryWake() const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath(), QIODevice::WriteOnly);
  if (!socket.waitForConnected(kConnectWaitMs)) return false;
  socket.write(kActivateRequest);
  const bool sent = socket.waitForBytesWritten(kWriteWaitMs) || socket.bytesToWrite() == 0;
  socket.disconnectFromServer();
  return sent;
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* peer = server_->nextPendingConnection()) {
    peer->setParent(this);
    QPointer<QLocalSocket> guard(peer);
    auto read_request = [this, guard] {
      if (!guard) return;
      if (guard->bytesAvailable() > kMaxRequestBytes) {
        guard->abort();
        guard->deleteLater();
        return;
      }
      if (!guard->canReadLine()) return;
      const QByteArray line = guard->readLine(kMaxRequestBytes);
      if (line == kActivateRequest) {
        qCInfo(lcVorlin) << "another start asked this instance to come to the front";
        emit ActivationRequested();
      }
      guard->disconnectFromServer();
    };
    connect(peer, &QLocalSocket::readyRead, this, read_request);
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    // The request may have arrived with the connection.
    if (peer->bytesAvailable() > 0) read_request();
  }
}

}  // namespace vorlin
