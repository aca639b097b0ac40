// The main window's pure rules: scale per monitor, tray menu corner, neighbour options, and the
// way an interface slot leads to its device's page.
#include <gtest/gtest.h>

#include "devices/device_option.h"
#include "devices/device_rows.h"
#include "app/screen_fit.h"
#include "hid/slot_list.h"

namespace vorlin {
namespace {

TEST(ScreenFitTest, ScaleFollowsTheMonitor) {
  const struct {
    QSize monitor;
    int dpi;
  } cases[] = {
      {{1920, 1080}, 144}, {{1280, 1024}, 96}, {{1501, 961}, 144},
      {{1500, 1080}, 96},  {{2560, 960}, 96},  {{800, 600}, 96},
  };
  for (const auto& c : cases) EXPECT_EQ(DpiForMonitor(c.monitor), c.dpi) << c.monitor.width();
  EXPECT_EQ(MainWindowSizeAt(96), QSize(1000, 640));
  EXPECT_EQ(MainWindowSizeAt(144), QSize(1500, 960));
  for (int dpi : {48, 72, 96, 120, 144, 168, 192}) EXPECT_TRUE(IsSupportedDpi(dpi)) << dpi;
  for (int dpi : {0, 95, 100, 240, -96}) EXPECT_FALSE(IsSupportedDpi(dpi)) << dpi;
}

TEST(ScreenFitTest, TrayMenuOpensAwayFromThePanel) {
  const QRect screen(0, 0, 1920, 1080);
  EXPECT_EQ(TrayMenuCorner(screen, QRect(0, 0, 1920, 1040)), MenuCorner::kBottomRight);
  EXPECT_EQ(TrayMenuCorner(screen, QRect(0, 32, 1920, 1048)), MenuCorner::kTopRight);
  EXPECT_EQ(TrayMenuCorner(screen, QRect(64, 0, 1856, 1080)), MenuCorner::kBottomLeft);
  EXPECT_EQ(TrayMenuCorner(screen, QRect(0, 0, 1856, 1080)), MenuCorner::kBottomRight);
  EXPECT_EQ(TrayMenuCorner(screen, screen), MenuCorner::kBottomRight);
}

TEST(NeighbourShownOptionTest, SkipsHiddenOptionsAndStopsAtTheEnds) {
  const std::vector<bool> shown = {true, false, true, true, false};
  EXPECT_EQ(NeighbourShownOption(shown, 0, +1), 2);
  EXPECT_EQ(NeighbourShownOption(shown, 2, +1), 3);
  EXPECT_EQ(NeighbourShownOption(shown, 3, +1), -1);  // the last shown option: nothing
  EXPECT_EQ(NeighbourShownOption(shown, 3, -1), 2);
  EXPECT_EQ(NeighbourShownOption(shown, 2, -1), 0);
  EXPECT_EQ(NeighbourShownOption(shown, 0, -1), -1);
  EXPECT_EQ(NeighbourShownOption({}, 0, +1), -1);
}

// Binds the slot of interface table row `row` as the scanner would.
void BindRow(SlotList& slotList, size_t row, const std::string& path) {
  const InterfaceEntry& e = InterfaceTable()[row];
  ASSERT_TRUE(slotList
                  .Bind({e.vendorId, e.productId, e.interfaceNumber, e.collectionNumber},
                        e.usagePage, e.usage, path)
                  .has_value());
}

TEST(PageKeyTest, EverySlotOfAProductLeadsToItsCableCommandRow) {
  SlotList slotList;
  const auto& table = InterfaceTable();
  const struct {
    size_t slot;
    size_t key_row;
  } cases[] = {
      {4, 4},            // mouse cable command
      {5, 4},            // mouse cable event
      {6, 4},            // mouse receiver command -> the cable's row
      {7, 4},            // mouse receiver event
      {8, 8},   {9, 8},  // mouse pad
      {10, 10},          // headset
      {2, 0},   {3, 0},  // keyboard receiver
  };
  for (const auto& c : cases) {
    const std::optional<InterfaceEntry> key = PageKeyOfSlot(slotList, c.slot);
    ASSERT_TRUE(key.has_value()) << c.slot;
    EXPECT_TRUE(SameDeviceKey(*key, table[c.key_row])) << c.slot;
  }
  EXPECT_FALSE(PageKeyOfSlot(slotList, slotList.size()).has_value());
}

TEST(PageKeyTest, PartnerCountsOnlyWhenBoundBothWays) {
  SlotList slotList;
  EXPECT_FALSE(PartnerBound(slotList, 4));
  BindRow(slotList, 6, "virtual:receiver?vid_320f&pid_225f&mi_01&col04");
  EXPECT_TRUE(PartnerBound(slotList, 4));   // the cable arrives while the receiver is bound
  EXPECT_FALSE(PartnerBound(slotList, 6));  // the receiver's partner (the cable) is not bound
  EXPECT_FALSE(PartnerBound(slotList, 8));  // the mouse pad has no partner
  BindRow(slotList, 4, "virtual:cable?vid_320f&pid_225e&mi_01&col04");
  EXPECT_TRUE(PartnerBound(slotList, 6));
  slotList.Unbind(6);
  EXPECT_FALSE(PartnerBound(slotList, 4));
}

TEST(DeviceOptionImagesTest, KindAndVariantChooseTheStem) {
  EXPECT_EQ(DeviceOptionImagesFor(kKindMouse, 0).normal,
            QStringLiteral("common/device_ico/ms_device_normal.png"));
  EXPECT_EQ(DeviceOptionImagesFor(kKindKeyboard, 0).selected,
            QStringLiteral("common/device_ico/kb_device_selected.png"));
  EXPECT_EQ(DeviceOptionImagesFor(kKindMousePad, 1).synchroNormal,
            QStringLiteral("common/device_ico/soft_mp_device_synchro_normal.png"));
  EXPECT_EQ(DeviceOptionImagesFor(kKindHeadset, 0).nameKey, QStringLiteral("hd_device_name_text"));
  EXPECT_EQ(DeviceOptionImagesFor(9, 0).nameKey, QStringLiteral("unknow_device_name_text"));
  EXPECT_TRUE(DeviceOptionImagesFor(kKindMousePad, 2).normal.isEmpty());  // changes nothing
}

}  // namespace
}  // namespace vorlin
