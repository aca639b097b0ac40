#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include "ui/device_key_button.h"
#include "ui/light_colour.h"
#include "ui/notify_bridge.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

using testing::RecordingHandler;

TEST(DeviceKeyButtonTest, FreshButtonShowsOnlyItsOwnLook) {
  CDeviceKeyButtonUI key;
  EXPECT_TRUE(key.IsSetMarkHidden());
  EXPECT_TRUE(key.IsUnsetMarkHidden());
  EXPECT_FALSE(key.IsMarked());
  EXPECT_FALSE(key.IsLightShown());
  EXPECT_EQ(key.LightColour(), 255u);
  EXPECT_EQ(key.LightLevel(), 200);
  EXPECT_FALSE(key.IsDragSelected());
  EXPECT_EQ(key.GetClass(), QStringLiteral("DeviceKeyButton"));
}

// Paints a shown button until it is idle, then counts the paints a change causes.
class KeyButtonPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    key_.resize(32, 32);
    key_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&key_));
    Settle();
  }
  void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  int PaintsAfter(const std::function<void()>& change) {
    Settle();
    const int before = key_.PaintCount();
    change();
    Settle();
    return key_.PaintCount() - before;
  }

  CDeviceKeyButtonUI key_;
};

TEST_F(KeyButtonPaintTest, RepaintsOnlyWhenAMarkFlagChanges) {
  struct Case {
    const char* what;
    std::function<void(CDeviceKeyButtonUI&, bool)> set;
    bool initial;
  };
  const Case cases[] = {
      {"set-mark hidden", [](CDeviceKeyButtonUI& k, bool v) { k.SetSetMarkHidden(v); }, true},
      {"unset-mark hidden", [](CDeviceKeyButtonUI& k, bool v) { k.SetUnsetMarkHidden(v); }, true},
      {"marked", [](CDeviceKeyButtonUI& k, bool v) { k.SetMarked(v); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PaintsAfter([&] { c.set(key_, c.initial); }), 0);
    EXPECT_GE(PaintsAfter([&] { c.set(key_, !c.initial); }), 1);
    EXPECT_EQ(PaintsAfter([&] { c.set(key_, !c.initial); }), 0);
  }
}

TEST_F(KeyButtonPaintTest, LightAndDragSelectionDoNotRepaint) {
  EXPECT_EQ(PaintsAfter([&] { key_.SetLight(PackLightColour(1, 2, 3), 99, true); }), 0);
  EXPECT_EQ(key_.LightColour(), PackLightColour(1, 2, 3));
  EXPECT_EQ(key_.LightLevel(), 99);
  EXPECT_TRUE(key_.IsLightShown());
  EXPECT_EQ(PaintsAfter([&] { key_.SetDragSelected(true); }), 0);
  EXPECT_TRUE(key_.IsDragSelected());
}

TEST(DeviceKeyButtonTest, LayoutAttributesAreMatchedWithoutCase) {
  CDeviceKeyButtonUI key;
  key.setProperty("LightImage", QStringLiteral("a.svg"));
  key.setProperty("KEYSETIMAGE", QStringLiteral("b.svg"));
  key.setProperty("keyUnsetImage", QStringLiteral("c.svg"));
  key.setProperty("gmnametextcolor", QStringLiteral("#ff0000"));
  EXPECT_EQ(key.LightImage(), QStringLiteral("a.svg"));
  EXPECT_EQ(key.KeySetImage(), QStringLiteral("b.svg"));
  EXPECT_EQ(key.KeyUnsetImage(), QStringLiteral("c.svg"));
}

// The overlays are drawn in order: light, unset-mark, set-mark; hidden ones are not drawn.
TEST(DeviceKeyButtonTest, PaintsLightAndVisibleMarks) {
  testing::UseProgramSkin();
  CDeviceKeyButtonUI key;
  key.setStyleSheet(QStringLiteral("background: black; border: none;"));
  key.resize(32, 32);
  key.SetLightImage(QStringLiteral("images/device/light_strip.svg"));
  key.SetKeySetImage(QStringLiteral("images/device/key_set.svg"));
  const QPoint centre(16, 16);
  const QPoint edge(2, 16);  // on the set-mark's ring

  QImage plain = key.grab().toImage();
  EXPECT_LT(qRed(plain.pixel(centre)) + qGreen(plain.pixel(centre)), 30);

  key.SetLight(PackLightColour(255, 0, 0), 255, true);
  QImage lit = key.grab().toImage();
  EXPECT_GT(qRed(lit.pixel(centre)), 200);
  EXPECT_LT(qGreen(lit.pixel(centre)), 40);

  key.SetLight(PackLightColour(255, 0, 0), 0, true);  // level 0: invisible
  EXPECT_LT(qRed(key.grab().toImage().pixel(centre)), 30);

  key.SetSetMarkHidden(false);
  QImage marked = key.grab().toImage();
  EXPECT_GT(qBlue(marked.pixel(edge)), 150);  // the accent ring
  key.SetSetMarkHidden(true);
  EXPECT_LT(qBlue(key.grab().toImage().pixel(edge)), 30);
}

TEST(DeviceKeyButtonTest, DoubleClickNotifiesAndTheReleaseStillClicks) {
  QWidget window;
  RecordingHandler handler;
  NotifyBridge::Install(&window, &handler);
  auto* key = new CDeviceKeyButtonUI(&window);
  key->setObjectName(QStringLiteral("key_3"));
  key->setGeometry(0, 0, 30, 30);
  WireNotifications(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  handler.Clear();

  // A double click arrives as press, release, double-click (in place of the second press),
  // release.
  QTest::mouseClick(key, Qt::LeftButton);
  QTest::mouseDClick(key, Qt::LeftButton);
  EXPECT_TRUE(key->isDown());
  QTest::mouseRelease(key, Qt::LeftButton);
  EXPECT_EQ(handler.Log({"click", "dbclick"}),
            (QStringList{"click:key_3", "dbclick:key_3", "click:key_3"}));

  handler.Clear();
  key->setEnabled(false);
  QTest::mouseDClick(key, Qt::LeftButton);
  QTest::mouseRelease(key, Qt::LeftButton);
  EXPECT_TRUE(handler.Log({"click", "dbclick"}).isEmpty());
}

}  // namespace
}  // namespace vorlin
