// The emulated devices over the virtual bus: what a program holding a channel on their nodes sees.

#include "sim/emulated_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "sim/device_emulator.h"
#include "sim/factory_contents.h"
#include "sim/trace_format.h"
#include "sim_test_util.h"

namespace vorlin {
namespace {

using testing::Hex;
using testing::Report;

class EmulatedDeviceTest : public ::testing::Test {
 protected:
  // Nothing plugged in; each test plugs what it needs.
  EmulatedDeviceTest()
      : emulator_(nullptr, DeviceEmulatorOptions{false, false, false, false, false, false}) {}

  std::unique_ptr<HidChannel> Open(const std::string& node) {
    auto channel = emulator_.Bus()->OpenNode(node, true, true, false);
    EXPECT_NE(channel, nullptr) << node;
    return channel;
  }

  // Writes a request and reads the next report; an empty vector when none arrived in time.
  static std::vector<uint8_t> Exchange(HidChannel& channel, const CommandReport& request,
                                       int timeoutMs = 1000) {
    EXPECT_EQ(channel.WriteReport(request, 1000), IoResult::Ok);
    return Read(channel, timeoutMs);
  }
  static std::vector<uint8_t> Read(HidChannel& channel, int timeoutMs, IoResult* result = nullptr) {
    std::vector<uint8_t> buffer(64);
    size_t received = 0;
    const IoResult r = channel.ReadReport(buffer, received, timeoutMs);
    if (result) *result = r;
    if (r != IoResult::Ok) return {};
    buffer.resize(received);
    return buffer;
  }

  std::string Trace() const { return "\nbus trace:\n" + emulator_.TraceText(); }

  DeviceEmulator emulator_;
};

TEST_F(EmulatedDeviceTest, PresentsTheInterfacesOfEachProduct) {
  DeviceEmulator all;  // default options: everything but the keyboard receiver
  std::vector<HidNodeInfo> nodes;
  ASSERT_TRUE(all.Bus()->ListNodes(nodes));
  std::vector<std::tuple<uint16_t, uint16_t, int>> seen;
  for (const HidNodeInfo& n : nodes) {
    EXPECT_EQ(n.collectionNumber, -1) << n.node;  // whole interfaces
    seen.emplace_back(n.vendorId, n.productId, n.interfaceNumber);
  }
  std::sort(seen.begin(), seen.end());
  const std::vector<std::tuple<uint16_t, uint16_t, int>> expected = {
      {0x0000, 0x0000, 0}, {0x0000, 0x0000, 1}, {0x0C76, 0x1630, 3}, {0x320F, 0x1004, 1},
      {0x320F, 0x225E, 0}, {0x320F, 0x225E, 1}, {0x320F, 0x225F, 1}};
  EXPECT_EQ(seen, expected);

  // The cable's version number is what the option says.
  DeviceEmulatorOptions old;
  old.mouseCableVersion = 0x0107;
  DeviceEmulator oldMouse(nullptr, old);
  HidNodeInfo info;
  ASSERT_TRUE(oldMouse.Bus()->QueryNode(oldMouse.Mouse().Cable().CommandNode(), info));
  EXPECT_EQ(info.versionNumber, 0x0107);
  EXPECT_EQ(info.interfaceNumber, 1);
}

TEST_F(EmulatedDeviceTest, AnswersCommandsOnTheCommandNode) {
  EmulatedDevice& cable = emulator_.Mouse().Cable();
  ASSERT_TRUE(cable.Plug());
  EXPECT_FALSE(cable.Plug());  // already plugged in
  auto channel = Open(cable.CommandNode());
  const std::vector<uint8_t> reply = Exchange(*channel, MakeCommandReport(kCmdBeginConfig, 0, 0));
  EXPECT_EQ(Hex(reply), Hex(Report("04 01 00 01 00 00 00 00"))) << Trace();
  EXPECT_TRUE(cable.GetFirmware().Snapshot().configuring);

  const std::vector<uint8_t> info =
      Exchange(*channel, MakeCommandReport(kCmdReadDeviceInfo, 34, 0));
  ASSERT_EQ(info.size(), 64u);
  EXPECT_EQ(info[8 + 5], kMouseKeyCount);

  const std::vector<std::string> lines = emulator_.TraceLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "> " + cable.CommandNode() + " 04 01 00 01 00 00 00 00 ... (56 zero bytes)");
  EXPECT_EQ(lines[1].substr(0, 2), "< ");
}

TEST_F(EmulatedDeviceTest, ReceiverAnswersForTheMouseOnlyWhileItIsOn) {
  EmulatedPeripheral& mouse = emulator_.Mouse();
  ASSERT_TRUE(mouse.Receiver()->Plug());
  auto channel = Open(mouse.Receiver()->CommandNode());

  mouse.SetPoweredOn(false);
  std::vector<uint8_t> reply = Exchange(*channel, MakeCommandReport(kCmdProbeWireless, 0, 0));
  ASSERT_EQ(reply.size(), 64u) << Trace();
  EXPECT_EQ(reply[3], kReceiverNoAnswer);
  EXPECT_EQ(reply[8], 0x00);
  reply = Exchange(*channel, MakeCommandReport(kCmdWriteParams, 1, 0, std::vector<uint8_t>{2}));
  EXPECT_EQ(reply[3], kReceiverNoAnswer);
  EXPECT_EQ(mouse.GetFirmware().Snapshot().CurrentProfile(), 0) << "a silent mouse stores nothing";

  mouse.SetPoweredOn(true);
  reply = Exchange(*channel, MakeCommandReport(kCmdProbeWireless, 0, 0));
  EXPECT_EQ(reply[3], kCmdProbeWireless);
  EXPECT_EQ(reply[8], 0xFF);
  reply = Exchange(*channel, MakeCommandReport(kCmdWriteParams, 1, 0, std::vector<uint8_t>{2}));
  EXPECT_EQ(reply[7], 0);
  // Cable and receiver share the mouse's memory.
  ASSERT_TRUE(mouse.Cable().Plug());
  auto cable = Open(mouse.Cable().CommandNode());
  reply = Exchange(*cable, MakeCommandReport(kCmdReadParams, 1, 0));
  EXPECT_EQ(reply[8], 2);
}

TEST_F(EmulatedDeviceTest, ReplyFaults) {
  EmulatedDevice& pad = emulator_.MousePad().Cable();
  ASSERT_TRUE(pad.Plug());
  auto channel = Open(pad.CommandNode());
  const CommandReport write = MakeCommandReport(kCmdWriteParams, 1, 1, std::vector<uint8_t>{9});
  const auto effect = [&] { return pad.GetFirmware().Snapshot().params[1]; };
  const uint8_t factoryEffect = effect();

  // Status faults: the request is not acted on.
  pad.FailReplies(2, kStatusRefused);
  for (int i = 0; i < 2; ++i) {
    const std::vector<uint8_t> reply = Exchange(*channel, write);
    EXPECT_EQ(reply[7], kStatusRefused);
    EXPECT_EQ(reply[3], kCmdWriteParams);
  }
  EXPECT_EQ(effect(), factoryEffect);
  EXPECT_EQ(Exchange(*channel, write)[7], 0);
  EXPECT_EQ(effect(), 9);

  // Wrong echo alone, then with the right reply behind it.
  pad.WrongEcho(1);
  std::vector<uint8_t> reply = Exchange(*channel, MakeCommandReport(kCmdBeginConfig, 0, 0));
  EXPECT_EQ(reply[3], kCmdBeginConfig ^ 0x80);
  EXPECT_EQ(CommandChecksum(Report(Hex(reply))), reply[1] | (reply[2] << 8));
  EXPECT_TRUE(Read(*channel, 50).empty()) << "nothing follows a plain wrong echo";
  pad.WrongEcho(1, true);
  EXPECT_EQ(Exchange(*channel, MakeCommandReport(kCmdEndConfig, 0, 0))[3], kCmdEndConfig ^ 0x80);
  EXPECT_EQ(Read(*channel, 1000)[3], kCmdEndConfig);

  // A late reply misses a short wait and arrives later.
  pad.DelayReplies(1, 200);
  EXPECT_TRUE(Exchange(*channel, MakeCommandReport(kCmdReadStatus, 6, 0), 20).empty());
  reply = Read(*channel, 2000);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(reply[3], kCmdReadStatus);

  // No reply at all, but the write was taken.
  pad.DropReplies(1);
  EXPECT_TRUE(
      Exchange(*channel, MakeCommandReport(kCmdWriteParams, 1, 1, std::vector<uint8_t>{5}), 100)
          .empty());
  EXPECT_EQ(effect(), 5);
  EXPECT_TRUE(pad.FaultsIdle());
  EXPECT_EQ(Exchange(*channel, MakeCommandReport(kCmdBeginConfig, 0, 0))[3], kCmdBeginConfig);
}

TEST_F(EmulatedDeviceTest, UnplugInTheMiddleOfATransfer) {
  EmulatedDevice& keyboard = emulator_.Keyboard().Cable();
  ASSERT_TRUE(keyboard.Plug());
  std::string node = keyboard.CommandNode();
  auto channel = Open(node);
  const std::vector<uint8_t> chunk(56, 0x33);

  // Two chunks answered, the third write finds the keyboard gone.
  keyboard.UnplugAfter(2);
  EXPECT_EQ(Exchange(*channel, MakeCommandReport(kCmdWriteMacroData, 56, 0, chunk))[7], 0);
  EXPECT_EQ(Exchange(*channel, MakeCommandReport(kCmdWriteMacroData, 56, 56, chunk))[7], 0);
  EXPECT_NE(channel->WriteReport(MakeCommandReport(kCmdWriteMacroData, 56, 112, chunk), 1000),
            IoResult::Ok);
  EXPECT_FALSE(keyboard.Plugged());
  EXPECT_FALSE(emulator_.Bus()->NodePresent(node));
  const FirmwareMemory m = keyboard.GetFirmware().Snapshot();
  EXPECT_EQ(m.macro[111], 0x33);
  EXPECT_EQ(m.macro[112], 0x00);

  // Plugged in again under new names; this time the reply of the second chunk never comes.
  ASSERT_TRUE(keyboard.Plug());
  EXPECT_NE(keyboard.CommandNode(), node);
  node = keyboard.CommandNode();
  channel = Open(node);
  keyboard.UnplugAfter(2, UnplugPoint::InsteadOfReply);
  EXPECT_EQ(Exchange(*channel, MakeCommandReport(kCmdBeginConfig, 0, 0))[7], 0);
  EXPECT_EQ(channel->WriteReport(MakeCommandReport(kCmdWriteMacroData, 56, 0, chunk), 1000),
            IoResult::Ok);
  IoResult result = IoResult::Ok;
  EXPECT_TRUE(Read(*channel, 1000, &result).empty());
  EXPECT_EQ(result, IoResult::Error);
  EXPECT_FALSE(keyboard.Plugged());
}

TEST_F(EmulatedDeviceTest, EventReportsFollowTheConnection) {
  EmulatedPeripheral& mouse = emulator_.Mouse();
  ASSERT_TRUE(mouse.Cable().Plug());
  ASSERT_TRUE(mouse.Receiver()->Plug());
  auto cable = Open(mouse.Cable().EventNode());
  auto receiver = Open(mouse.Receiver()->EventNode());

  // Profile 3, then DPI stage 2 of it: 0x1003 and 0x1123, stored in the mouse's memory.
  ASSERT_TRUE(mouse.SwitchProfile(3));
  ASSERT_TRUE(mouse.SwitchStage(2));
  EXPECT_EQ(Hex(Read(*cable, 1000)), "03 03 10");
  EXPECT_EQ(Hex(Read(*cable, 1000)), "03 23 11");
  const FirmwareMemory m = mouse.GetFirmware().Snapshot();
  EXPECT_EQ(m.CurrentProfile(), 3);
  EXPECT_EQ(m.params[3 * 128 + 12], 2);
  EXPECT_TRUE(Read(*receiver, 20).empty()) << "the cable carries events while plugged in";

  // Without the cable the receiver carries them, while the mouse is on.
  mouse.Cable().Unplug();
  ASSERT_TRUE(mouse.Click());
  EXPECT_EQ(Hex(Read(*receiver, 1000)), "03 03 04");
  mouse.SetPoweredOn(false);
  EXPECT_FALSE(mouse.RequestResync());
  EXPECT_TRUE(Read(*receiver, 20).empty());

  // Keyboard keys: press and release of slot 0x12.
  EmulatedPeripheral& keyboard = emulator_.Keyboard();
  ASSERT_TRUE(keyboard.Cable().Plug());
  auto kb = Open(keyboard.Cable().EventNode());
  ASSERT_TRUE(keyboard.PressKey(0x12));
  ASSERT_TRUE(keyboard.ReleaseKey(0x12));
  ASSERT_TRUE(keyboard.SwitchStage(2));
  EXPECT_EQ(Hex(Read(*kb, 1000)), "03 12 05");
  EXPECT_EQ(Hex(Read(*kb, 1000)), "03 12 06");
  EXPECT_EQ(Hex(Read(*kb, 1000)), "03 20 11");
  EXPECT_EQ(keyboard.GetFirmware().Snapshot().params[17], 2);
}

TEST_F(EmulatedDeviceTest, HeadsetTakesLightingAndCommandsOnItsOneInterface) {
  EmulatedDevice& headset = emulator_.Headset().Cable();
  ASSERT_TRUE(headset.Plug());
  EXPECT_EQ(headset.Nodes().size(), 1u);
  EXPECT_EQ(headset.EventNode(), "");
  EXPECT_FALSE(headset.SendEvent(0x0401));
  auto channel = Open(headset.CommandNode());

  const std::vector<uint8_t> light =
      testing::Bytes("ff 44 ac 00 f7 f7 f7 f7 f7 f7 f7 00 00 00 00 00 00");
  ASSERT_EQ(channel->WriteReport(light, 1000), IoResult::Ok);
  EXPECT_TRUE(Read(*channel, 50).empty()) << "the lighting report is not answered";
  const HeadsetLighting lighting = headset.GetFirmware().Snapshot().headsetLighting;
  EXPECT_EQ(lighting.reports, 1u);
  EXPECT_EQ(lighting.values[1][2][6], 0xF7);
  EXPECT_EQ(lighting.values[0][2][6], 0x00);

  const std::vector<uint8_t> reply = Exchange(*channel, MakeCommandReport(kCmdReadParams, 21, 0));
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(reply[7], 0);
  EXPECT_EQ(reply[8 + 1], 1);  // factory effect code

  // Other output reports (the boot keyboard's LEDs, say) are taken and ignored.
  EmulatedDevice& keyboard = emulator_.Keyboard().Cable();
  ASSERT_TRUE(keyboard.Plug());
  auto boot = Open(keyboard.Nodes().front());
  ASSERT_EQ(boot->WriteReport(std::vector<uint8_t>{0x01}, 1000), IoResult::Ok);
  EXPECT_EQ(keyboard.IgnoredReports(), 1u);
}

}  // namespace
}  // namespace vorlin
