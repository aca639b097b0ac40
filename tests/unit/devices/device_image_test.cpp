// The macro and shoot images: event encoding, layout, sizes and the capacity rules of the mouse
// and the keyboard.
#include <gtest/gtest.h>

#include <json/reader.h>

#include <vector>

#include "devices/device_image.h"

namespace vorlin {
namespace {

Json::Value Event(const char* action, int type, int button, Json::Value delay) {
  Json::Value event;
  event["Action"] = action;
  event["Type"] = type;
  event["Button"] = button;
  event["Delay"] = std::move(delay);
  return event;
}

TEST(DeviceImageTest, EventsTakeTheirDeviceForm) {
  struct Case {
    const char* what;
    Json::Value event;
    MacroEventCode expected;
  };
  const std::vector<Case> cases = {
      {"a key press", Event("down", 10, 0x04, "300"), {0x2C, 0x01, 0x8A, 0x04}},
      {"a key release", Event("up", 10, 0x04, "5"), {0x05, 0x00, 0x0A, 0x04}},
      {"a number as delay", Event("down", 1, 0x01, 65535), {0xFF, 0xFF, 0x81, 0x01}},
      {"a delay held at 16 bits", Event("up", 9, 0x02, "65537"), {0xFF, 0xFF, 0x09, 0x02}},
      {"a number held at 16 bits", Event("up", 9, 0x02, 70000), {0xFF, 0xFF, 0x09, 0x02}},
      {"a press in capitals", Event("Down", 9, 0x02, "1"), {0x01, 0x00, 0x89, 0x02}},
      {"a delay that is no number", Event("up", 4, 7, "soon"), {0x00, 0x00, 0x04, 0x07}},
      {"a negative delay", Event("up", 4, 7, "-5"), {0x00, 0x00, 0x04, 0x07}},
      {"an absurd delay", Event("up", 4, 7, "99999999999999999999999"), {0xFF, 0xFF, 0x04, 0x07}},
      {"not an object", Json::Value("down"), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeMacroEvent(c.event), c.expected) << c.what;

  Json::Value events(Json::arrayValue);
  events.append(Event("down", 10, 4, "1"));
  events.append(Event("up", 10, 4, "2"));
  EXPECT_EQ(EncodeMacroEvents(events).size(), 2u);
  EXPECT_TRUE(EncodeMacroEvents(Json::Value("x")).empty());
}

TEST(DeviceImageTest, TheImageCarriesHeaderOffsetsAndBlocks) {
  const std::vector<ImageBlock> blocks = {
      {{0x10, 0x00, 0x8A, 0x04}, {0x20, 0x00, 0x0A, 0x04}},
      {},
      {{0x01, 0x02, 0x81, 0x01}},
  };
  const std::optional<std::vector<uint8_t>> image = BuildDeviceImage(blocks);
  ASSERT_TRUE(image);
  // 16 + 6 x 3 + 4 x 3 = 46 bytes.
  const std::vector<uint8_t> expected = {
      0xAA, 0x55, 46, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header
      22, 0, 34, 0, 38, 0,                                    // offsets
      2, 0, 0, 0, 0x10, 0x00, 0x8A, 0x04, 0x20, 0x00, 0x0A, 0x04,  // block 0
      0, 0, 0, 0,                                             // block 1
      1, 0, 0, 0, 0x01, 0x02, 0x81, 0x01,                     // block 2
  };
  EXPECT_EQ(*image, expected);

  const std::optional<std::vector<uint8_t>> empty = BuildDeviceImage({});
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, (std::vector<uint8_t>{0xAA, 0x55, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DeviceImageTest, AnImageBeyondItsSixteenBitFieldsIsNotBuilt) {
  // 16 + 6 + 4 x 16378 = 65534 fits; one more event does not.
  std::vector<ImageBlock> blocks(1, ImageBlock(16378, MacroEventCode{1, 2, 3, 4}));
  ASSERT_TRUE(BuildDeviceImage(blocks));
  EXPECT_EQ(DeviceImageSize(std::vector<size_t>{16378}), 65534u);
  blocks[0].push_back(MacroEventCode{});
  EXPECT_FALSE(BuildDeviceImage(blocks));
}

TEST(DeviceImageTest, TheCapacityRulesOfMouseAndKeyboard) {
  struct Case {
    const char* what;
    size_t size;
    size_t capacity;
    ImageCapacityRule rule;
    int overflow;
  };
  using R = ImageCapacityRule;
  const std::vector<Case> cases = {
      {"forty events on 128 bytes", 182, 128, R::kRefuseAbove, 14},
      {"exactly the capacity, mouse", 128, 128, R::kRefuseAbove, 0},
      {"exactly the capacity, keyboard", 128, 128, R::kRefuseAtOrAbove, 1},
      {"one byte over", 129, 128, R::kRefuseAbove, 1},
      {"five bytes over", 133, 128, R::kRefuseAbove, 2},
      {"well inside", 16, 2048, R::kRefuseAtOrAbove, 0},
      {"no memory at all", 22, 0, R::kRefuseAbove, 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ImageOverflow(c.size, c.capacity, c.rule), c.overflow) << c.what;
  EXPECT_EQ(DeviceImageSize(std::vector<size_t>{40}), 182u);
}

}  // namespace
}  // namespace vorlin
