// Linux key and button events as the (message, data) pairs of the input capture.

#include "input/input_event_mapping.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "input/hook_messages.h"

namespace vorlin {
namespace {

TEST(InputEventMappingTest, KeysGiveScanCodeFlagsAndVirtualKey) {
  struct Case {
    uint16_t code;
    int32_t value;
    uint32_t message, scan, flags, vk;
  };
  const Case cases[] = {
      {KEY_A, 1, kWmKeyDown, 0x1E, 0x00, 0x41},
      {KEY_A, 2, kWmKeyDown, 0x1E, 0x00, 0x41},  // auto-repeat: another press
      {KEY_A, 0, kWmKeyUp, 0x1E, 0x80, 0x41},
      {KEY_RIGHTCTRL, 0, kWmKeyUp, 0x1D, 0x81, 0xA3},
      {KEY_RIGHTSHIFT, 1, kWmKeyDown, 0x36, 0x01, 0xA1},
      {KEY_KPENTER, 1, kWmKeyDown, 0x1C, 0x01, 0x0D},
      {KEY_NUMLOCK, 1, kWmKeyDown, 0x45, 0x01, kVkNumLock},
      {KEY_PAUSE, 1, kWmKeyDown, 0x45, 0x00, 0x13},
      {KEY_CAPSLOCK, 1, kWmKeyDown, 0x3A, 0x00, kVkCapsLock},
      {KEY_SCROLLLOCK, 0, kWmKeyUp, 0x46, 0x80, kVkScrollLock},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << "/" << c.value);
    const auto event = KeyEventOfEvdev(c.code, c.value, 1234);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->device, InputEvent::Device::kKeyboard);
    EXPECT_EQ(event->message, c.message);
    EXPECT_EQ(event->keyboard.scan_code, c.scan);
    EXPECT_EQ(event->keyboard.flags, c.flags);
    EXPECT_EQ(event->keyboard.vk_code, c.vk);
    EXPECT_EQ(event->keyboard.time, 1234u);
  }
}

TEST(InputEventMappingTest, KeysOutsideTheTableAndOddValuesGiveNothing) {
  EXPECT_FALSE(KeyEventOfEvdev(KEY_MUTE, 1, 0));
  EXPECT_FALSE(KeyEventOfEvdev(KEY_A, 3, 0));
  EXPECT_FALSE(KeyEventOfEvdev(KEY_A, -1, 0));
}

TEST(InputEventMappingTest, MouseButtons) {
  struct Case {
    uint16_t code;
    int32_t value;
    uint32_t message, mouse_data;
  };
  const Case cases[] = {
      {BTN_LEFT, 1, kWmLButtonDown, 0},      {BTN_LEFT, 0, kWmLButtonUp, 0},
      {BTN_RIGHT, 1, kWmRButtonDown, 0},     {BTN_MIDDLE, 0, kWmMButtonUp, 0},
      {BTN_SIDE, 1, kWmXButtonDown, 1u << 16}, {BTN_BACK, 0, kWmXButtonUp, 1u << 16},
      {BTN_EXTRA, 1, kWmXButtonDown, 2u << 16}, {BTN_FORWARD, 0, kWmXButtonUp, 2u << 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const auto event = MouseButtonEventOfEvdev(c.code, c.value, 7);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->device, InputEvent::Device::kMouse);
    EXPECT_EQ(event->message, c.message);
    EXPECT_EQ(event->mouse.mouse_data, c.mouse_data);
    EXPECT_FALSE(event->mouse.has_point);
  }
  EXPECT_FALSE(MouseButtonEventOfEvdev(BTN_TASK, 1, 0));
  EXPECT_FALSE(MouseButtonEventOfEvdev(BTN_LEFT, 2, 0));
}

TEST(InputEventMappingTest, WheelDeltaIsASignedHighWord) {
  EXPECT_EQ(MouseWheelEvent(false, 120, 0).mouse.mouse_data, 0x00780000u);
  EXPECT_EQ(MouseWheelEvent(false, -120, 0).mouse.mouse_data, 0xFF880000u);
  EXPECT_EQ(MouseWheelEvent(true, 240, 0).message, kWmMouseHWheel);
  // A turn beyond 16 bits is the largest one, not a wrapped value of the other sign.
  EXPECT_EQ(MouseWheelEvent(false, 300 * 120, 0).mouse.mouse_data, 0x7FFF0000u);
  EXPECT_EQ(MouseWheelEvent(false, -300 * 120, 0).mouse.mouse_data, 0x80000000u);
}

TEST(InputEventMappingTest, LockKeysAndButtonCodes) {
  for (const uint16_t code : {KEY_CAPSLOCK, KEY_NUMLOCK, KEY_SCROLLLOCK}) EXPECT_TRUE(IsLockKeyCode(code));
  for (const uint16_t code : {KEY_A, KEY_LEFTSHIFT, KEY_PAUSE}) EXPECT_FALSE(IsLockKeyCode(code));
  EXPECT_TRUE(IsMouseButtonCode(BTN_LEFT));
  EXPECT_TRUE(IsMouseButtonCode(BTN_TASK));
  EXPECT_FALSE(IsMouseButtonCode(KEY_A));
  EXPECT_FALSE(IsMouseButtonCode(BTN_JOYSTICK));
}

}  // namespace
}  // namespace vorlin
