// The evdev input source over stand-in devices: each "device" is one end of a socket pair that
// carries input_event records, the kernel calls go through a recording EvdevOps, and the UI thread
// is the test's own thread draining a queue of posted calls.

#include "input/evdev_input_source.h"

#include <gtest/gtest.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "input/hook_messages.h"
#include "platform/log.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

struct SocketPair {
  int ours = -1;    // the test's end: writes events, reads what the source writes back
  int device = -1;  // the source's end, handed over as the device descriptor
  SocketPair() {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0) {
      ours = fds[0];
      device = fds[1];
    }
  }
  ~SocketPair() {
    if (ours >= 0) ::close(ours);
  }
};

void Write(int fd, std::initializer_list<std::array<int, 3>> events) {
  std::vector<input_event> records;
  for (const auto& [type, code, value] : events) {
    input_event record{};
    record.type = static_cast<uint16_t>(type);
    record.code = static_cast<uint16_t>(code);
    record.value = value;
    records.push_back(record);
  }
  const size_t size = records.size() * sizeof(input_event);
  ASSERT_EQ(::write(fd, records.data(), size), static_cast<ssize_t>(size));
}

// Records read back from `fd` within `timeout`.
std::vector<input_event> ReadBack(int fd, std::chrono::milliseconds timeout) {
  std::vector<input_event> records;
  pollfd pfd{fd, POLLIN, 0};
  while (::poll(&pfd, 1, static_cast<int>(timeout.count())) > 0) {
    input_event record;
    if (::read(fd, &record, sizeof(record)) != sizeof(record)) break;
    records.push_back(record);
    timeout = 50ms;
  }
  return records;
}

class RecordingOps : public EvdevOps {
 public:
  bool Grab(int fd, bool grab) override {
    std::lock_guard lock(mutex_);
    calls_.push_back({fd, grab});
    return refuse_fd_ != fd;
  }
  int OpenPassThrough() override { return pass_through_fd; }
  void ClosePassThrough(int fd) override { closed_pass_through = fd; }

  std::vector<std::pair<int, bool>> Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  int pass_through_fd = -1;
  std::atomic<int> closed_pass_through{-1};
  int refuse_fd_ = -2;

 private:
  std::mutex mutex_;
  std::vector<std::pair<int, bool>> calls_;
};

// The UI thread's queue of calls.
class PostQueue {
 public:
  void Post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    cv_.notify_all();
  }
  // Runs queued calls until `count` sink events arrived or `timeout` passed.
  void DrainUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 2000ms) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (!cv_.wait_until(lock, end, [&] { return !calls_.empty(); })) return;
      auto call = std::move(calls_.front());
      calls_.pop_front();
      lock.unlock();
      call();
    }
  }
  void DrainAll() {
    while (true) {
      std::unique_lock lock(mutex_);
      if (calls_.empty()) return;
      auto call = std::move(calls_.front());
      calls_.pop_front();
      lock.unlock();
      call();
    }
  }
  size_t Size() {
    std::lock_guard lock(mutex_);
    return calls_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> calls_;
};

constexpr EvdevKind kKeyboard{true, false};
constexpr EvdevKind kMouse{false, true};
constexpr EvdevKind kKeyboardMouse{true, true};

class EvdevInputSourceTest : public ::testing::Test {
 protected:
  // A source over the given stand-in devices.
  void Make(std::vector<std::pair<SocketPair*, EvdevKind>> devices,
            std::chrono::milliseconds idle = 30s) {
    EvdevSourceOptions options;
    options.open_devices = [devices](const CaptureRequest&) {
      InputDeviceScan scan;
      for (const auto& [pair, kind] : devices) {
        const int fd = ::dup(pair->device);
        scan.devices.emplace_back(fd, kind.mouse ? "stand-in mouse" : "stand-in keyboard", kind);
        fds_of_kind.push_back(fd);
      }
      return scan;
    };
    options.ops = ops;
    options.post_to_owner = [this](std::function<void()> call) { queue.Post(std::move(call)); };
    options.grab_idle_release = idle;
    source = std::make_unique<EvdevInputSource>(std::move(options));
  }

  InputSink Sink() {
    return [this](const InputEvent& event) { events.push_back(event); };
  }

  void DrainFor(size_t count) {
    queue.DrainUntil([&] { return events.size() >= count; });
  }

  // Waits (on the test thread) until `condition` holds, up to `timeout`.
  static bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }

  static inline std::vector<int> fds_of_kind;
  std::shared_ptr<RecordingOps> ops = std::make_shared<RecordingOps>();
  PostQueue queue;
  std::vector<InputEvent> events;
  std::unique_ptr<EvdevInputSource> source;
};

TEST_F(EvdevInputSourceTest, GrabsPlainKeyboardsOnlyAndReleasesThemOnStop) {
  SocketPair keyboard, mouse, combined;
  fds_of_kind.clear();
  Make({{&keyboard, kKeyboard}, {&mouse, kMouse}, {&combined, kKeyboardMouse}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  ASSERT_TRUE(WaitFor([&] { return source->KeyboardsGrabbed(); }, 1s));
  const int keyboard_fd = fds_of_kind[0];
  EXPECT_EQ(ops->Calls(), (std::vector<std::pair<int, bool>>{{keyboard_fd, true}}));
  source->Stop();
  EXPECT_EQ(ops->Calls(),
            (std::vector<std::pair<int, bool>>{{keyboard_fd, true}, {keyboard_fd, false}}));
  EXPECT_FALSE(source->KeyboardsGrabbed());
}

TEST_F(EvdevInputSourceTest, ReportsKeysButtonsAndWheelInOrder) {
  SocketPair keyboard, mouse;
  Make({{&keyboard, kKeyboard}, {&mouse, kMouse}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_MSC, MSC_SCAN, 0x70004}, {EV_KEY, KEY_A, 1}, {EV_SYN, SYN_REPORT, 0},
                        {EV_KEY, KEY_MUTE, 1},  // outside the key table: not reported
                        {EV_KEY, KEY_A, 0}, {EV_SYN, SYN_REPORT, 0}});
  DrainFor(2);
  Write(mouse.ours, {{EV_KEY, BTN_LEFT, 1}, {EV_REL, REL_X, 5}, {EV_SYN, SYN_REPORT, 0},
                     {EV_REL, REL_WHEEL, -1}, {EV_SYN, SYN_REPORT, 0}});
  DrainFor(4);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].message, kWmKeyDown);
  EXPECT_EQ(events[0].keyboard.scan_code, 0x1Eu);
  EXPECT_EQ(events[1].message, kWmKeyUp);
  EXPECT_EQ(events[1].keyboard.flags, kKeyFlagUp);
  EXPECT_EQ(events[2].message, kWmLButtonDown);
  EXPECT_EQ(events[3].message, kWmMouseWheel);
  EXPECT_EQ(events[3].mouse.mouse_data, 0xFF880000u);
}

TEST_F(EvdevInputSourceTest, PointerMovesOnlyWhenAskedForOnePerReport) {
  SocketPair mouse;
  Make({{&mouse, kMouse}});
  CaptureRequest request{false, true, true};
  ASSERT_EQ(source->Start(request, Sink()), InputSource::StartResult::kStarted);
  Write(mouse.ours, {{EV_REL, REL_X, 3}, {EV_REL, REL_Y, -2}, {EV_REL, REL_X, 1},
                     {EV_SYN, SYN_REPORT, 0}, {EV_KEY, BTN_RIGHT, 1}, {EV_SYN, SYN_REPORT, 0}});
  DrainFor(2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].message, kWmMouseMove);
  EXPECT_EQ(events[0].mouse.dx, 4);
  EXPECT_EQ(events[0].mouse.dy, -2);
  EXPECT_EQ(events[1].message, kWmRButtonDown);
}

TEST_F(EvdevInputSourceTest, RecordsCutAcrossReadsAreJoined) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  input_event record{};
  record.type = EV_KEY;
  record.code = KEY_Z;
  record.value = 1;
  const char* bytes = reinterpret_cast<const char*>(&record);
  ASSERT_EQ(::write(keyboard.ours, bytes, 5), 5);
  std::this_thread::sleep_for(30ms);
  ASSERT_EQ(::write(keyboard.ours, bytes + 5, sizeof(record) - 5),
            static_cast<ssize_t>(sizeof(record) - 5));
  DrainFor(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].keyboard.scan_code, 0x2Cu);
}

TEST_F(EvdevInputSourceTest, LockKeysPassThroughAndLedsReachTheGrabbedKeyboard) {
  SocketPair keyboard, pass_through;
  ops->pass_through_fd = pass_through.device;
  Make({{&keyboard, kKeyboard}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_B, 1}, {EV_SYN, SYN_REPORT, 0}, {EV_KEY, KEY_CAPSLOCK, 1},
                        {EV_SYN, SYN_REPORT, 0}, {EV_KEY, KEY_CAPSLOCK, 0}, {EV_SYN, SYN_REPORT, 0}});
  DrainFor(3);
  // Caps Lock is reported like any key...
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].keyboard.vk_code, kVkCapsLock);
  EXPECT_EQ(events[2].keyboard.vk_code, kVkCapsLock);
  // ...and re-sent to the desktop through the pass-through device; B is not.
  const auto sent = ReadBack(pass_through.ours, 1000ms);
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0].type, EV_KEY);
  EXPECT_EQ(sent[0].code, KEY_CAPSLOCK);
  EXPECT_EQ(sent[0].value, 1);
  EXPECT_EQ(sent[1].type, EV_SYN);
  EXPECT_EQ(sent[2].code, KEY_CAPSLOCK);
  EXPECT_EQ(sent[2].value, 0);

  // The desktop answers with the LED; it goes on to the grabbed keyboard.
  Write(pass_through.ours, {{EV_LED, LED_CAPSL, 1}, {EV_SYN, SYN_REPORT, 0}});
  const auto leds = ReadBack(keyboard.ours, 1000ms);
  ASSERT_EQ(leds.size(), 2u);
  EXPECT_EQ(leds[0].type, EV_LED);
  EXPECT_EQ(leds[0].code, LED_CAPSL);
  EXPECT_EQ(leds[0].value, 1);
  source->Stop();
  EXPECT_EQ(ops->closed_pass_through, pass_through.device);
  ::close(pass_through.device);
}

TEST_F(EvdevInputSourceTest, WithoutPassThroughLockKeysAreStillReported) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_NUMLOCK, 1}, {EV_SYN, SYN_REPORT, 0}});
  DrainFor(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].keyboard.vk_code, kVkNumLock);
}

TEST_F(EvdevInputSourceTest, GrabIsReleasedAfterIdleTimeAndReadingGoesOn) {
  SocketPair keyboard;
  fds_of_kind.clear();
  Make({{&keyboard, kKeyboard}}, 150ms);
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  ASSERT_TRUE(WaitFor([&] { return source->KeyboardsGrabbed(); }, 1s));
  EXPECT_TRUE(WaitFor([&] { return !source->KeyboardsGrabbed(); }, 2s));
  EXPECT_EQ(ops->Calls().back(), (std::pair<int, bool>{fds_of_kind[0], false}));
  Write(keyboard.ours, {{EV_KEY, KEY_C, 1}});
  DrainFor(1);
  EXPECT_EQ(events.size(), 1u);
  source->Stop();
  EXPECT_EQ(ops->Calls().size(), 2u) << "released once, not again on stop";
}

TEST_F(EvdevInputSourceTest, ActivityKeepsTheGrab) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}}, 300ms);
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  for (int i = 0; i < 10; ++i) {
    Write(keyboard.ours, {{EV_KEY, KEY_D, i % 2}});
    DrainFor(static_cast<size_t>(i + 1));
    std::this_thread::sleep_for(60ms);
    ASSERT_TRUE(source->KeyboardsGrabbed()) << "after " << i;
  }
}

TEST_F(EvdevInputSourceTest, GrabIsReleasedWhenTheUiThreadTakesNothing) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}}, 250ms);
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  // Keys keep coming (no idle time), but nobody drains the queue.
  const auto start = std::chrono::steady_clock::now();
  bool released = false;
  for (int i = 0; i < 40 && !released; ++i) {
    Write(keyboard.ours, {{EV_KEY, KEY_E, i % 2}});
    std::this_thread::sleep_for(40ms);
    released = !source->KeyboardsGrabbed();
  }
  EXPECT_TRUE(released);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

TEST_F(EvdevInputSourceTest, StopsWithinItsBoundAndDropsEventsNotYetDelivered) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_F, 1}, {EV_KEY, KEY_F, 0}});
  ASSERT_TRUE(WaitFor([&] { return queue.Size() == 2; }, 1s));
  const auto start = std::chrono::steady_clock::now();
  source->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_EQ(source->LastStopOutcome(), EvdevInputSource::StopOutcome::kEnded);
  queue.DrainAll();
  EXPECT_TRUE(events.empty());
}

TEST_F(EvdevInputSourceTest, ARestartDropsTheEarlierCapturesEvents) {
  SocketPair keyboard;
  Make({{&keyboard, kKeyboard}});
  std::vector<InputEvent> earlier;
  ASSERT_EQ(source->Start({}, [&](const InputEvent& e) { earlier.push_back(e); }),
            InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_G, 1}});
  ASSERT_TRUE(WaitFor([&] { return queue.Size() == 1; }, 1s));
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_H, 1}});
  DrainFor(1);
  EXPECT_TRUE(earlier.empty());
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].keyboard.scan_code, 0x23u);
}

TEST_F(EvdevInputSourceTest, AVanishedDeviceEndsNothingElse) {
  SocketPair keyboard;
  auto mouse = std::make_unique<SocketPair>();
  Make({{&keyboard, kKeyboard}, {mouse.get(), kMouse}});
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  ::close(mouse->device);
  mouse.reset();  // the source now reads end of file from its copy
  Write(keyboard.ours, {{EV_KEY, KEY_I, 1}});
  DrainFor(1);
  EXPECT_EQ(events.size(), 1u);
  source->Stop();
  EXPECT_EQ(source->LastStopOutcome(), EvdevInputSource::StopOutcome::kEnded);
}

TEST_F(EvdevInputSourceTest, UnavailableWithoutTheDevicesAskedFor) {
  SocketPair mouse;
  Make({{&mouse, kMouse}});
  EXPECT_EQ(source->Start({true, true, false}, Sink()), InputSource::StartResult::kUnavailable);
  EXPECT_FALSE(source->Running());
  EXPECT_TRUE(ops->Calls().empty());
  EXPECT_EQ(source->Start({false, true, false}, Sink()), InputSource::StartResult::kStarted);
  EXPECT_TRUE(ops->Calls().empty()) << "a mouse-only capture grabs nothing";
}

TEST_F(EvdevInputSourceTest, KeyboardHeldElsewhereIsStillRead) {
  SocketPair keyboard;
  fds_of_kind.clear();
  Make({{&keyboard, kKeyboard}});
  ops->refuse_fd_ = -3;
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  Write(keyboard.ours, {{EV_KEY, KEY_J, 1}});
  DrainFor(1);
  EXPECT_EQ(events.size(), 1u);
}

// Collects every log line while it exists, with every category on (as with --verbose): nothing
// the capture logs may carry a key, whatever the logging rules.
class LogCapture {
 public:
  LogCapture() {
    SetUpLogging(true);
    previous_ = qInstallMessageHandler(&LogCapture::Handle);
  }
  ~LogCapture() {
    qInstallMessageHandler(previous_);
    SetUpLogging(false);
  }
  static QStringList& Lines() {
    static QStringList lines;
    return lines;
  }

 private:
  static void Handle(QtMsgType, const QMessageLogContext&, const QString& text) {
    Lines() << text;
  }
  QtMessageHandler previous_;
};

TEST_F(EvdevInputSourceTest, TheLogNamesDevicesAndCountsButNoKey) {
  LogCapture capture;
  LogCapture::Lines().clear();
  SocketPair keyboard, mouse;
  ops->pass_through_fd = -1;
  Make({{&keyboard, kKeyboard}, {&mouse, kMouse}}, 200ms);
  ASSERT_EQ(source->Start({}, Sink()), InputSource::StartResult::kStarted);
  // Z (44, scan 2C, VK 5A), M (50, scan 32, VK 4D), F12 (88, scan 58, VK 7B = 123), and the
  // thumb button (275).
  Write(keyboard.ours, {{EV_KEY, KEY_Z, 1}, {EV_KEY, KEY_Z, 0}, {EV_KEY, KEY_M, 1},
                        {EV_KEY, KEY_M, 0}, {EV_KEY, KEY_F12, 1}, {EV_KEY, KEY_F12, 0}});
  Write(mouse.ours, {{EV_KEY, BTN_SIDE, 1}});
  DrainFor(7);
  ASSERT_EQ(events.size(), 7u);
  ASSERT_TRUE(WaitFor([&] { return !source->KeyboardsGrabbed(); }, 2s));  // idle release logged
  source->Stop();
  const QString log = LogCapture::Lines().join('\n');
  EXPECT_TRUE(log.contains("stand-in keyboard")) << log.toStdString();
  EXPECT_TRUE(log.contains("6 key events")) << log.toStdString();
  EXPECT_TRUE(log.contains("released")) << log.toStdString();
  for (const char* code : {"44", "2c", "50", "32", "88", "58", "5a", "4d", "7b", "123", "275",
                           "0x", "scan", "KEY_"}) {
    EXPECT_FALSE(log.contains(QLatin1String(code), Qt::CaseInsensitive))
        << code << " in:\n" << log.toStdString();
  }
}

}  // namespace
}  // namespace vorlin
