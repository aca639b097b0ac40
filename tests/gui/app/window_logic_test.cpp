// The main window's pure rules: scale per monitor, tray menu corner, neighbour options and the
// selector options' pictures.
#include <gtest/gtest.h>

#include "app/screen_fit.h"
#include "pages/device_option.h"

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

TEST(DeviceOptionImagesTest, TheStemNamesEveryPictureAndTheName) {
  EXPECT_EQ(DeviceOptionImagesFor(QStringLiteral("ms")).normal,
            QStringLiteral("common/device_ico/ms_device_normal.png"));
  EXPECT_EQ(DeviceOptionImagesFor(QStringLiteral("kb")).selected,
            QStringLiteral("common/device_ico/kb_device_selected.png"));
  EXPECT_EQ(DeviceOptionImagesFor(QStringLiteral("soft_mp")).synchroNormal,
            QStringLiteral("common/device_ico/soft_mp_device_synchro_normal.png"));
  EXPECT_EQ(DeviceOptionImagesFor(QStringLiteral("hd")).synchroSelected,
            QStringLiteral("common/device_ico/hd_device_synchro_selected.png"));
  EXPECT_EQ(DeviceOptionImagesFor(QStringLiteral("hd")).nameKey,
            QStringLiteral("hd_device_name_text"));
  EXPECT_TRUE(DeviceOptionImagesFor(QString()).normal.isEmpty());  // changes nothing
}

}  // namespace
}  // namespace vorlin
