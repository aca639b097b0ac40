// The emulated devices' kept memory as one block of bytes, and what is not an image.

#include "sim/firmware_image.h"

#include <gtest/gtest.h>

#include "sim/factory_contents.h"

namespace vorlin {
namespace {

// A device whose settings, tables, macros and patterns differ from the factory's.
FirmwareMemory Changed(FirmwareKind kind) {
  FirmwareMemory memory = MakeFactoryMemory(kind);
  for (MemoryArea area : {MemoryArea::Params, MemoryArea::KeyTable, MemoryArea::KeyTable2,
                          MemoryArea::ColorTables, MemoryArea::Macro, MemoryArea::Shoot}) {
    std::vector<uint8_t>& bytes = memory.Area(area);
    for (size_t i = 0; i < bytes.size(); i += 7) bytes[i] = static_cast<uint8_t>(bytes[i] + 1 + i);
  }
  return memory;
}

TEST(FirmwareImageTest, AChangedDeviceComesBackAsItWas) {
  for (FirmwareKind kind : {FirmwareKind::Mouse, FirmwareKind::Keyboard, FirmwareKind::MousePad,
                            FirmwareKind::Headset}) {
    SCOPED_TRACE(std::string(FirmwareKindName(kind)));
    const FirmwareMemory changed = Changed(kind);
    FirmwareMemory restored = MakeFactoryMemory(kind);
    ASSERT_TRUE(RestoreFirmwareImage(FirmwareImage(changed), restored));
    for (size_t a = 0; a < kMemoryAreaCount; ++a) {
      const auto area = static_cast<MemoryArea>(a);
      EXPECT_EQ(restored.Area(area), changed.Area(area)) << MemoryAreaName(area);
    }
  }
}

TEST(FirmwareImageTest, WhatIsNotAnImageOfTheDeviceLeavesItsMemoryAlone) {
  const std::vector<uint8_t> good = FirmwareImage(Changed(FirmwareKind::Mouse));
  std::vector<uint8_t> other_header = good;
  other_header[0] = 'X';
  std::vector<uint8_t> other_kind = good;
  other_kind[8] = static_cast<uint8_t>(FirmwareKind::Keyboard);
  const struct {
    const char* name;
    std::vector<uint8_t> image;
  } cases[] = {
      {"empty", {}},
      {"one byte short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"one byte long",
       [&] {
         auto b = good;
         b.push_back(0);
         return b;
       }()},
      {"another header", other_header},
      {"another device kind", other_kind},
      {"a keyboard's image", FirmwareImage(Changed(FirmwareKind::Keyboard))},
  };
  const FirmwareMemory factory = MakeFactoryMemory(FirmwareKind::Mouse);
  for (const auto& c : cases) {
    FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
    EXPECT_FALSE(RestoreFirmwareImage(c.image, memory)) << c.name;
    EXPECT_EQ(memory.params, factory.params) << c.name;
    EXPECT_EQ(memory.colorTables, factory.colorTables) << c.name;
  }
}

}  // namespace
}  // namespace vorlin
