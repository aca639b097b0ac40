#include "hid/interface_path.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

struct TagCase {
  const char* path;
  const char* tag;
  uint32_t expected;
};

class ParseHexTagTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(ParseHexTagTest, ReadsTheHexNumberAfterTheTag) {
  const TagCase& c = GetParam();
  EXPECT_EQ(ParseHexTag(c.path, c.tag), c.expected) << c.path << " " << c.tag;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ParseHexTagTest,
    ::testing::Values(
        TagCase{"hidraw:/dev/hidraw3?vid_320f&pid_225e&mi_01&col04", "vid_", 0x320F},
        TagCase{"hidraw:/dev/hidraw3?vid_320f&pid_225e&mi_01&col04", "pid_", 0x225E},
        TagCase{"hidraw:/dev/hidraw3?vid_320f&pid_225e&mi_01&col04", "&mi_", 1},
        TagCase{"hidraw:/dev/hidraw3?vid_320f&pid_225e&mi_01&col04", "&col", 4},
        TagCase{"\\\\?\\HID#VID_320F&PID_225E&MI_01&COL0A#7&1", "&mi_", 1},
        TagCase{"\\\\?\\HID#VID_320F&PID_225E&MI_01&COL0A#7&1", "&col", 10},
        TagCase{"hidraw:/dev/hidraw0?vid_0c76&pid_1630&mi_03", "&col", 0},
        TagCase{"virtual:vbus/1?vid_0c76&pid_1630", "&mi_", 0},
        TagCase{"virtual:vbus/1?vid_&pid_1630", "vid_", 0},
        TagCase{"", "vid_", 0},
        TagCase{"x?vid_ffffffffffffffff", "vid_", 0xFFFFFFFF}));

TEST(InterfacePath, MadePathsCarryTheTagsDiscoveryReads) {
  const std::string path = MakeInterfacePath("hidraw", "/dev/hidraw3", 0x320F, 0x225E, 1, 4);
  EXPECT_EQ(path, "hidraw:/dev/hidraw3?vid_320f&pid_225e&mi_01&col04");
  EXPECT_EQ(MakeInterfacePath("virtual", "vbus/2", 0x0C76, 0x1630, 3, 0),
            "virtual:vbus/2?vid_0c76&pid_1630&mi_03");
  EXPECT_EQ(MakeInterfacePath("hidraw", "/dev/hidraw9", 1, 2, -1, 0),
            "hidraw:/dev/hidraw9?vid_0001&pid_0002");

  InterfacePathParts parts;
  ASSERT_TRUE(SplitInterfacePath(path, parts));
  EXPECT_EQ(parts.scheme, "hidraw");
  EXPECT_EQ(parts.node, "/dev/hidraw3");
  EXPECT_FALSE(SplitInterfacePath("no-scheme", parts));
  EXPECT_FALSE(SplitInterfacePath(":node", parts));
  EXPECT_FALSE(SplitInterfacePath("hidraw:?vid_1", parts));
}

}  // namespace
}  // namespace vorlin
