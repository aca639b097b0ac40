// The window as input source: keys and mouse events that reach the window, mapped like keys read
// from the input devices; and CDeviceHook falling back to it.

#include "input_qt/window_input_source.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include "input/device_hook.h"
#include "input/evdev_input_source.h"
#include "input/hook_messages.h"
#include "input_qt/window_key_map.h"
#include "platform/log.h"

namespace vorlin {
namespace {

TEST(WindowKeyMapTest, NativeScanCodesOnXkbPlatformsOnly) {
  EXPECT_EQ(EvdevCodeOfNativeScanCode(38, "xcb"), KEY_A);
  EXPECT_EQ(EvdevCodeOfNativeScanCode(105, "wayland"), KEY_RIGHTCTRL);
  EXPECT_FALSE(EvdevCodeOfNativeScanCode(38, "offscreen"));
  EXPECT_FALSE(EvdevCodeOfNativeScanCode(0, "xcb"));
}

TEST(WindowKeyMapTest, QtKeysStandInWithoutNativeCodes) {
  struct Case {
    int key;
    bool keypad;
    uint32_t keysym;
    std::optional<uint16_t> code;
  };
  const Case cases[] = {
      {Qt::Key_A, false, 0, KEY_A},
      {Qt::Key_5, false, 0, KEY_5},
      {Qt::Key_5, true, 0, KEY_KP5},
      {Qt::Key_Enter, true, 0, KEY_KPENTER},
      {Qt::Key_Shift, false, 0, KEY_LEFTSHIFT},
      {Qt::Key_Shift, false, 0xFFE2, KEY_RIGHTSHIFT},
      {Qt::Key_Control, false, 0xFFE4, KEY_RIGHTCTRL},
      {Qt::Key_CapsLock, false, 0, KEY_CAPSLOCK},
      {Qt::Key_VolumeUp, false, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(EvdevCodeOfQtKey(c.key, c.keypad, c.keysym), c.code);
  }
}

class WindowSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    edit_ = new QLineEdit(&window_);
    button_ = new QPushButton(QStringLiteral("stop"), &window_);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    window_.resize(300, 200);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    window_.activateWindow();
    edit_->setFocus();
    QCoreApplication::processEvents();
  }
  QWindow* handle() { return window_.windowHandle(); }
  InputSink Sink() {
    return [this](const InputEvent& e) { events_.push_back(e); };
  }

  QWidget window_;
  QLineEdit* edit_ = nullptr;
  QPushButton* button_ = nullptr;
  std::vector<InputEvent> events_;
};

TEST_F(WindowSourceTest, KeysAreReportedAndKeptFromTheWidgetsUntilStop) {
  WindowInputSource source(&window_);
  ASSERT_EQ(source.Start({}, Sink()), InputSource::StartResult::kStarted);
  EXPECT_TRUE(source.LimitedToWindow());
  QTest::keyClick(handle(), Qt::Key_A);
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[0].message, kWmKeyDown);
  EXPECT_EQ(events_[0].keyboard.scan_code, 0x1Eu);
  EXPECT_EQ(events_[1].message, kWmKeyUp);
  EXPECT_EQ(events_[1].keyboard.flags, kKeyFlagUp);
  EXPECT_TRUE(edit_->text().isEmpty());

  source.Stop();
  QTest::keyClick(handle(), Qt::Key_A);
  EXPECT_EQ(events_.size(), 2u);
  EXPECT_EQ(edit_->text(), QStringLiteral("a"));
}

TEST_F(WindowSourceTest, NativeScanCodeDecidesWhereThePlatformGivesOne) {
  WindowInputSource source(&window_);
  ASSERT_EQ(source.Start({}, Sink()), InputSource::StartResult::kStarted);
  // A right Ctrl as an XKB platform would deliver it; offscreen ignores the native code, so the
  // key symbol picks the right-hand key.
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 105, 0xFFE4, 0);
  QCoreApplication::sendEvent(handle(), &press);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].keyboard.scan_code, 0x1Du);
  EXPECT_EQ(events_[0].keyboard.flags, kKeyFlagExtended);
  EXPECT_EQ(events_[0].keyboard.vk_code, 0xA3u);
}

TEST_F(WindowSourceTest, MouseButtonsAreReportedAndStillReachTheWidgets) {
  WindowInputSource source(&window_);
  ASSERT_EQ(source.Start({true, true, false}, Sink()), InputSource::StartResult::kStarted);
  QSignalSpy clicked(button_, &QPushButton::clicked);
  const QPoint at = button_->geometry().center();
  QTest::mouseClick(handle(), Qt::LeftButton, {}, at);
  EXPECT_EQ(clicked.count(), 1);
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[0].message, kWmLButtonDown);
  EXPECT_EQ(events_[1].message, kWmLButtonUp);
  EXPECT_TRUE(events_[0].mouse.has_point);
  const QPoint global = window_.mapToGlobal(at);
  EXPECT_EQ(events_[0].mouse.x, global.x());
  EXPECT_EQ(events_[0].mouse.y, global.y());

  events_.clear();
  QTest::mousePress(handle(), Qt::BackButton, {}, at);
  QTest::mouseRelease(handle(), Qt::ForwardButton, {}, at);
  QTest::mouseMove(handle(), at + QPoint(3, 4));  // moves not asked for
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[0].message, kWmXButtonDown);
  EXPECT_EQ(events_[0].mouse.mouse_data >> 16, kXButtonBack);
  EXPECT_EQ(events_[1].message, kWmXButtonUp);
  EXPECT_EQ(events_[1].mouse.mouse_data >> 16, kXButtonForward);
}

TEST_F(WindowSourceTest, WheelAndMovesWhenAskedFor) {
  WindowInputSource source(&window_);
  ASSERT_EQ(source.Start({true, true, true}, Sink()), InputSource::StartResult::kStarted);
  QWheelEvent wheel(QPointF(10, 10), window_.mapToGlobal(QPointF(10, 10)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(handle(), &wheel);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].message, kWmMouseWheel);
  EXPECT_EQ(events_[0].mouse.mouse_data, 0xFF880000u);
  QTest::mouseMove(handle(), QPoint(20, 20));
  QTest::mouseMove(handle(), QPoint(25, 18));
  ASSERT_GE(events_.size(), 2u);
  EXPECT_EQ(events_.back().message, kWmMouseMove);
  EXPECT_EQ(events_.back().mouse.dx, 5);
  EXPECT_EQ(events_.back().mouse.dy, -2);
}

TEST_F(WindowSourceTest, KeysWhenOnlyTheMouseIsAskedForAreLeftAlone) {
  WindowInputSource source(&window_);
  ASSERT_EQ(source.Start({false, true, false}, Sink()), InputSource::StartResult::kStarted);
  QTest::keyClick(handle(), Qt::Key_B);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(edit_->text(), QStringLiteral("b"));
}

TEST_F(WindowSourceTest, NoWindowNoCapture) {
  WindowInputSource source(nullptr);
  EXPECT_EQ(source.Start({}, Sink()), InputSource::StartResult::kUnavailable);
}

// Collects log lines while it exists.
QStringList* g_lines = nullptr;
void Collect(QtMsgType, const QMessageLogContext&, const QString& text) {
  if (g_lines) *g_lines << text;
}

TEST_F(WindowSourceTest, HookFallsBackToTheWindowWhenDevicesCannotBeReadAndSaysSoOnce) {
  QStringList lines;
  g_lines = &lines;
  SetUpLogging(true);  // the notice is an information line, shown with --verbose
  const QtMessageHandler previous = qInstallMessageHandler(&Collect);
  EvdevSourceOptions unreadable;
  unreadable.open_devices = [](const CaptureRequest&) {
    InputDeviceScan scan;
    scan.denied = 4;
    return scan;
  };
  CDeviceHook hook(std::make_unique<EvdevInputSource>(unreadable),
                   std::make_unique<WindowInputSource>(&window_));
  std::vector<HookEvent> got;
  hook.HandleControlMessage(1, [&](const HookEvent& e) { got.push_back(e); });
  ASSERT_TRUE(hook.Running());
  EXPECT_TRUE(hook.LimitedToWindow());
  QTest::keyClick(handle(), Qt::Key_F5);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, HookMessage::kKeySingleKey);
  EXPECT_EQ(got[0].key.scan_code, 0x3Fu);
  EXPECT_EQ(hook.Start(0, kHookModeRecordAppend, [&](const HookEvent& e) { got.push_back(e); },
                       true, true),
            1);
  QTest::mouseClick(handle(), Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[2].message, HookMessage::kKeyMsMacro);
  hook.Stop();
  qInstallMessageHandler(previous);
  SetUpLogging(false);
  g_lines = nullptr;
  EXPECT_EQ(lines.filter(QStringLiteral("limited to this window")).size(), 1) << lines.join('\n').toStdString();
}

}  // namespace
}  // namespace vorlin
