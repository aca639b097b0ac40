// A device that never answers holds up nothing but itself: while the mouse pad's start-up read
// waits out one timeout after another on the pad's own thread, the window keeps answering the
// automation socket at once and a lighting change on the mouse's page reaches the mouse.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/automation.h"
#include "main_window_fixture.h"
#include "sim/emulated_device.h"

namespace vorlin {
namespace {

class ResponsivenessTest : public test::MainWindowFixture {
 protected:
  // The pad stays out until the test makes it silent.
  ResponsivenessTest() { emulator_.MousePad().Cable().Unplug(); }

  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "HD"}));
    AutomationHost host;
    CMainWnd* window = window_.get();
    host.window = [window] { return window->Window(); };
    server_ = std::make_unique<AutomationServer>(std::move(host));
    ASSERT_TRUE(server_->Listen(dir_.filePath(QStringLiteral("automation.sock"))));
    client_.connectToServer(server_->Path());
    ASSERT_TRUE(client_.waitForConnected(2000));
  }
  void TearDown() override {
    client_.disconnectFromServer();
    server_.reset();
    MainWindowFixture::TearDown();
  }

  // One request; the reply and how long it took (-1 when none came within two seconds).
  std::pair<QJsonObject, qint64> Ask(const QByteArray& line) {
    QElapsedTimer clock;
    clock.start();
    client_.write(line + '\n');
    client_.flush();
    if (!QTest::qWaitFor([this] { return client_.canReadLine(); }, 2000)) return {{}, -1};
    const qint64 took = clock.elapsed();
    return {QJsonDocument::fromJson(client_.readLine()).object(), took};
  }

  QTemporaryDir dir_;
  std::unique_ptr<AutomationServer> server_;
  QLocalSocket client_;
};

TEST_F(ResponsivenessTest, ASilentDeviceDoesNotHoldUpTheWindowOrTheOtherDevices) {
  // The pad arrives but answers nothing: its start-up read waits out every timeout.
  emulator_.MousePad().Cable().DropReplies(100000);
  ASSERT_TRUE(emulator_.MousePad().Cable().Plug());
  QTest::qWait(100);  // its start-up read has begun

  qint64 slowest = 0;
  QElapsedTimer span;
  span.start();
  bool changed = false;
  while (span.elapsed() < 3000) {
    const auto [reply, took] = Ask(R"({"op":"version"})");
    ASSERT_TRUE(reply.value("ok").toBool()) << "no answer at " << span.elapsed() << " ms";
    slowest = std::max(slowest, took);
    if (!changed && span.elapsed() > 1000) {
      // Meanwhile the user picks the mouse's steady light.
      const auto [select, select_took] =
          Ask(R"({"op":"select","page":"mouse","control":"light_combo_modeSelect","index":3})");
      ASSERT_TRUE(select.value("ok").toBool()) << select.value("error").toString().toStdString();
      slowest = std::max(slowest, select_took);
      changed = true;
    }
    QTest::qWait(20);
  }
  EXPECT_LT(slowest, 100) << "the window answered only after " << slowest << " ms";
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return emulator_.Mouse().GetFirmware().Snapshot().params[1] == 3; }, 2000))
      << "the mouse did not get its new effect";
  // The pad is still being waited for: its read has not finished in all this time.
  EXPECT_FALSE(PageOf("MousePad")->Client().View().deviceRead);
}

}  // namespace
}  // namespace vorlin
