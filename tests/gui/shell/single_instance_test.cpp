#include "shell/single_instance.h"

#include "shell/bring_to_front.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace vorlin {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  QString Folder() const { return runtime_.path(); }
  QTemporaryDir runtime_;
};

TEST_F(SingleInstanceTest, SecondStartWakesTheFirstAndIsToldToExit) {
  SingleInstance first(Folder(), QStringLiteral("test"));
  QSignalSpy woken(&first, &SingleInstance::ActivationRequested);
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_TRUE(first.HoldsLock());

  SingleInstance second(Folder(), QStringLiteral("test"));
  EXPECT_EQ(second.Acquire(), SingleInstance::Role::kAlreadyRunning);
  EXPECT_FALSE(second.HoldsLock());
  ASSERT_TRUE(woken.wait(3000));
  EXPECT_EQ(woken.count(), 1);

  // Every later start wakes it again.
  SingleInstance third(Folder(), QStringLiteral("test"));
  EXPECT_EQ(third.Acquire(), SingleInstance::Role::kAlreadyRunning);
  EXPECT_TRUE(woken.wait(3000));
  EXPECT_EQ(woken.count(), 2);
}

// The running window was minimised or hidden in the tray: a second start shows it again.
TEST_F(SingleInstanceTest, SecondStartBringsAHiddenOrMinimisedWindowBack) {
  QWidget main_window;
  SingleInstance first(Folder(), QStringLiteral("test"));
  QObject::connect(&first, &SingleInstance::ActivationRequested, &main_window,
                   [&main_window] { BringToFront(&main_window); });
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);

  for (const bool minimised : {false, true}) {
    if (minimised) {
      main_window.showMinimized();
    } else {
      main_window.hide();
    }
    QSignalSpy woken(&first, &SingleInstance::ActivationRequested);
    SingleInstance again(Folder(), QStringLiteral("test"));
    ASSERT_EQ(again.Acquire(), SingleInstance::Role::kAlreadyRunning);
    ASSERT_TRUE(woken.wait(3000));
    EXPECT_TRUE(main_window.isVisible()) << "minimised " << minimised;
    EXPECT_FALSE(main_window.isMinimized()) << "minimised " << minimised;
    EXPECT_FALSE(main_window.windowFlags() & Qt::WindowStaysOnTopHint);
  }
}

TEST_F(SingleInstanceTest, InstancesOfOtherNamesOrFoldersDoNotMeet) {
  SingleInstance first(Folder(), QStringLiteral("a"));
  SingleInstance other_name(Folder(), QStringLiteral("b"));
  QTemporaryDir elsewhere;
  SingleInstance other_folder(elsewhere.path(), QStringLiteral("a"));
  EXPECT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_EQ(other_name.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_EQ(other_folder.Acquire(), SingleInstance::Role::kFirst);
}

TEST_F(SingleInstanceTest, EndedInstanceLetsTheNextStartBeFirst) {
  {
    SingleInstance first(Folder(), QStringLiteral("test"));
    ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  }
  SingleInstance next(Folder(), QStringLiteral("test"));
  QSignalSpy woken(&next, &SingleInstance::ActivationRequested);
  EXPECT_EQ(next.Acquire(), SingleInstance::Role::kFirst);
  // ...and it listens, so a start after it reaches it.
  SingleInstance later(Folder(), QStringLiteral("test"));
  EXPECT_EQ(later.Acquire(), SingleInstance::Role::kAlreadyRunning);
  EXPECT_TRUE(woken.wait(3000));
}

// What a crash leaves: the lock file with a dead process id and a socket file nobody listens on.
TEST_F(SingleInstanceTest, LeftoversOfACrashedInstanceDoNotBlockStartUp) {
  SingleInstance probe(Folder(), QStringLiteral("test"));
  {
    QFile lock(probe.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("999999\n");
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray path = QFile::encodeName(probe.SocketPath());
  ASSERT_LT(static_cast<size_t>(path.size()), sizeof(address.sun_path));
  std::memcpy(address.sun_path, path.constData(), path.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);  // the socket file stays and refuses connections
  ASSERT_TRUE(QFile::exists(probe.SocketPath()));

  SingleInstance restarted(Folder(), QStringLiteral("test"));
  QSignalSpy woken(&restarted, &SingleInstance::ActivationRequested);
  ASSERT_EQ(restarted.Acquire(), SingleInstance::Role::kFirst);
  SingleInstance second(Folder(), QStringLiteral("test"));
  EXPECT_EQ(second.Acquire(), SingleInstance::Role::kAlreadyRunning);
  EXPECT_TRUE(woken.wait(3000));
}

TEST_F(SingleInstanceTest, OnlyTheActivationRequestWakesTheInstance) {
  SingleInstance first(Folder(), QStringLiteral("test"));
  QSignalSpy woken(&first, &SingleInstance::ActivationRequested);
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);

  for (const QByteArray& junk :
       {QByteArray("hello\n"), QByteArray("activate"), QByteArray(4096, 'a') + '\n'}) {
    QLocalSocket peer;
    peer.connectToServer(first.SocketPath());
    ASSERT_TRUE(peer.waitForConnected(1000));
    peer.write(junk);
    peer.waitForBytesWritten(1000);
    peer.disconnectFromServer();
  }
  EXPECT_FALSE(woken.wait(300)) << "a message other than the request woke the instance";

  QLocalSocket peer;
  peer.connectToServer(first.SocketPath());
  ASSERT_TRUE(peer.waitForConnected(1000));
  peer.write(SingleInstance::kActivateRequest);
  peer.waitForBytesWritten(1000);
  EXPECT_TRUE(woken.wait(3000));
  EXPECT_EQ(woken.count(), 1);
}

// A lock held by a process that never answers (hung, or still starting for too long): the new
// start gives up after a bounded wait and still exits instead of running beside it.
TEST_F(SingleInstanceTest, SilentHolderStillMakesTheSecondStartExit) {
  SingleInstance probe(Folder(), QStringLiteral("test"));
  const int fd = ::open(QFile::encodeName(probe.LockPath()).constData(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  SingleInstance second(Folder(), QStringLiteral("test"));
  EXPECT_EQ(second.Acquire(), SingleInstance::Role::kAlreadyRunning);
  ::close(fd);
}

// `vorlin ctl` drives the devices itself for a moment while the program is not running: it holds
// the lock without listening, is refused while the program runs, and a start meanwhile waits for
// it to let go instead of exiting.
TEST_F(SingleInstanceTest, CommandLineRunHoldsTheLockAndAStartWaitsForIt) {
  {
    SingleInstance window(Folder(), QStringLiteral("test"));
    ASSERT_EQ(window.Acquire(), SingleInstance::Role::kFirst);
    SingleInstance ctl(Folder(), QStringLiteral("test"));
    EXPECT_FALSE(ctl.TryLock());
    EXPECT_FALSE(ctl.HoldsLock());
  }
  auto ctl = std::make_unique<SingleInstance>(Folder(), QStringLiteral("test"));
  ASSERT_TRUE(ctl->TryLock());
  SingleInstance other_ctl(Folder(), QStringLiteral("test"));
  EXPECT_FALSE(other_ctl.TryLock());
  EXPECT_FALSE(QFile::exists(ctl->SocketPath()));

  QTimer::singleShot(500, [&ctl] { ctl.reset(); });  // the run ends while the start waits
  std::thread start([this] {
    SingleInstance window(Folder(), QStringLiteral("test"));
    EXPECT_EQ(window.Acquire(), SingleInstance::Role::kFirst);
  });
  QTRY_VERIFY_WITH_TIMEOUT(!ctl, 3000);
  start.join();
}

TEST_F(SingleInstanceTest, NoUsableRuntimeFolderRunsUnguarded) {
  QFile blocker(runtime_.filePath(QStringLiteral("not-a-folder")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  SingleInstance instance(blocker.fileName() + QStringLiteral("/runtime"), QStringLiteral("test"));
  EXPECT_EQ(instance.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_FALSE(instance.HoldsLock());
}

}  // namespace
}  // namespace vorlin
