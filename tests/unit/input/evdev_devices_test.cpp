// Telling keyboards and mice apart, and opening device nodes where there are none to open.

#include "input/evdev_devices.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <QTemporaryDir>

namespace vorlin {
namespace {

TEST(EvdevDevicesTest, ClassifiesByCapabilities) {
  using Caps = std::set<std::pair<int, int>>;
  const Caps keys = {{EV_KEY, KEY_A}, {EV_KEY, KEY_Z}, {EV_KEY, KEY_ENTER}, {EV_KEY, KEY_SPACE}};
  const Caps pointer = {{EV_REL, REL_X}, {EV_REL, REL_Y}, {EV_KEY, BTN_LEFT}};
  Caps both = keys;
  both.insert(pointer.begin(), pointer.end());
  struct Case {
    const char* what;
    Caps caps;
    bool keyboard, mouse;
  };
  const Case cases[] = {
      {"keyboard", keys, true, false},
      {"mouse", pointer, false, true},
      {"both", both, true, true},
      {"media keys only", {{EV_KEY, KEY_MUTE}, {EV_KEY, KEY_VOLUMEUP}}, false, false},
      {"touch pad without relative axes", {{EV_KEY, BTN_LEFT}, {EV_ABS, ABS_X}}, false, false},
      {"power button", {{EV_KEY, KEY_POWER}}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EvdevKind kind = ClassifyEvdevNode([&](int type, int code) { return c.caps.count({type, code}) > 0; });
    EXPECT_EQ(kind.keyboard, c.keyboard);
    EXPECT_EQ(kind.mouse, c.mouse);
  }
}

TEST(EvdevDevicesTest, NothingToOpen) {
  QTemporaryDir dir;
  EXPECT_TRUE(OpenInputDevices((dir.path() + "/missing").toStdString(), {}).devices.empty());
  // A node that is no input device answers no capability query and is skipped.
  std::ofstream(dir.filePath("event0").toStdString()) << "x";
  const InputDeviceScan scan = OpenInputDevices(dir.path().toStdString(), {});
  EXPECT_TRUE(scan.devices.empty());
  EXPECT_EQ(scan.denied, 0);
}

}  // namespace
}  // namespace vorlin
