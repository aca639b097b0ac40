// Where the devices come from: the real ones whenever any is there, the emulated ones standing in
// (in a folder of their own) until one is plugged in, and the word on devices that cannot be
// opened.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "app/access_notice.h"
#include "app/device_sources.h"
#include "app/main_window.h"
#include "app/real_device_watch.h"
#include "hid/hid_backend.h"
#include "hid/virtual_bus.h"
#include "sim/device_emulator.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

using namespace std::chrono_literals;

TEST(DeviceSourceModeTest, RealDevicesComeFirst) {
  const struct {
    bool demo;
    bool useHidraw;
    const char* socket;
    bool supportedNode;
    DeviceSourceMode expected;
  } cases[] = {
      {false, true, "", true, DeviceSourceMode::kReal},
      {false, true, "", false, DeviceSourceMode::kStandIn},
      // --demo shows the emulated devices even beside real ones.
      {true, true, "", true, DeviceSourceMode::kDemo},
      {true, true, "/tmp/s", false, DeviceSourceMode::kDemo},
      // An emulator socket's devices join the real ones; nothing stands in for them.
      {false, true, "/tmp/s", false, DeviceSourceMode::kReal},
      // With the machine's nodes turned off (tests), the emulated devices stand in.
      {false, false, "", true, DeviceSourceMode::kStandIn},
  };
  for (const auto& c : cases) {
    DeviceSourceOptions options;
    options.demo = c.demo;
    options.useHidraw = c.useHidraw;
    options.simSocket = c.socket;
    EXPECT_EQ(ChooseDeviceSourceMode(options, c.supportedNode), c.expected)
        << c.demo << c.useHidraw << c.socket << c.supportedNode;
  }
}

TEST(DeviceSourceModeTest, TheChosenModeDecidesTheBackends) {
  const struct {
    DeviceSourceMode mode;
    bool emulated;
    bool hidraw;
  } cases[] = {
      {DeviceSourceMode::kStandIn, true, false},
      {DeviceSourceMode::kDemo, true, false},
      {DeviceSourceMode::kReal, false, true},
  };
  for (const auto& c : cases) {
    DeviceSourceOptions options;
    options.mode = c.mode;
    {
      DeviceSources sources;
      std::string error;
      ASSERT_TRUE(sources.Start(options, &error)) << error;
      EXPECT_EQ(sources.Mode(), c.mode);
      EXPECT_EQ(sources.Emulated(), c.emulated);
      EXPECT_EQ(sources.UsesHidraw(), c.hidraw);
      // Real and emulated devices never share the backends.
      EXPECT_EQ(HidBackends::All().size(), 1u);
    }
    EXPECT_TRUE(HidBackends::All().empty());
  }
}

TEST(RealDeviceWatchTest, TellsOnceWhenASupportedDeviceAppears) {
  bool present = false;
  int looks = 0;
  RealDeviceWatch watch(
      [&] {
        ++looks;
        return present;
      },
      nullptr, 10ms);
  QSignalSpy arrived(&watch, &RealDeviceWatch::arrived);
  ASSERT_TRUE(QTest::qWaitFor([&] { return looks >= 3; }, 2000));
  EXPECT_TRUE(arrived.isEmpty());
  present = true;
  ASSERT_TRUE(arrived.wait(2000));
  // It stops looking: the program is about to start again.
  const int looks_then = looks;
  QTest::qWait(60);
  EXPECT_EQ(looks, looks_then);
  EXPECT_EQ(arrived.size(), 1);
}

TEST(AccessNoticeTest, SaysWhichNodeAndGoesOnceItOpens) {
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  std::vector<NodeAccessProblem> problems = {{"/dev/hidraw7", 0x320F, 0x225E, EACCES}};
  QLabel label;
  AccessNotice notice(&label, [&problems] { return problems; }, 10ms);
  EXPECT_TRUE(label.isHidden());
  notice.SetWatching(true);
  EXPECT_FALSE(label.isHidden());
  EXPECT_TRUE(label.text().contains(QStringLiteral("/dev/hidraw7")));
  EXPECT_TRUE(label.text().contains(QStringLiteral("320f:225e")));
  EXPECT_TRUE(label.text().contains(QStringLiteral("udevadm")));
  // Another language: the same advice in its words.
  const QString english = label.text();
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")));
  EXPECT_NE(label.text(), english);
  EXPECT_TRUE(label.text().contains(QStringLiteral("/dev/hidraw7")));
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  // The user installs the rule: the node opens, the notice goes by itself.
  problems.clear();
  EXPECT_TRUE(QTest::qWaitFor([&label] { return label.isHidden(); }, 2000));
}

TEST(AccessNoticeTest, TheNoDeviceScreenShowsIt) {
  // No device at all on the bus; one supported node that cannot be opened.
  MainWindowOptions options;
  options.useSessionBus = false;
  options.followSleep = false;
  options.forcedDpi = 96;
  options.accessProblems = [] {
    return std::vector<NodeAccessProblem>{{"/dev/hidraw3", 0x320F, 0x225E, EACCES}};
  };
  CMainWnd window(std::move(options));
  ASSERT_TRUE(window.Create());
  ASSERT_TRUE(QTest::qWaitFor([&window] { return window.FirstPassSeen(); }, 5000));
  auto* card = window.Window()->findChild<QWidget*>(QStringLiteral("No_device_Link"));
  auto* advice = window.Window()->findChild<QLabel*>(QStringLiteral("no_device_access"));
  ASSERT_TRUE(card && advice);
  EXPECT_TRUE(card->isVisibleTo(window.Window()));
  EXPECT_TRUE(advice->isVisibleTo(window.Window()));
  EXPECT_TRUE(advice->text().contains(QStringLiteral("/dev/hidraw3")));
  // Shown, the wrapped commands get all the height they need (none cut off at the bottom).
  window.Window()->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.Window()));
  QTest::qWait(50);
  EXPECT_GE(advice->height(), advice->heightForWidth(advice->width()));
}

}  // namespace
}  // namespace vorlin
