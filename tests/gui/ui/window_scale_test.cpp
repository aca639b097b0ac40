#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QVBoxLayout>
#include <QFile>
#include <QFontDatabase>
#include <QLayout>
#include <QPushButton>

#include "ui/find_control.h"
#include "ui/font_registry.h"
#include "ui/layout_loader.h"
#include "ui/window_scale.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

TEST(WindowScaleTest, FactorPerDpi) {
  EXPECT_DOUBLE_EQ(ScaleFactorForDpi(96), 1.0);
  EXPECT_DOUBLE_EQ(ScaleFactorForDpi(144), 1.5);
  EXPECT_DOUBLE_EQ(ScaleFactorForDpi(192), 2.0);
  EXPECT_DOUBLE_EQ(ScaleFactorForDpi(0), 1.0);
  EXPECT_DOUBLE_EQ(ScaleFactorForDpi(-96), 1.0);
}

TEST(WindowScaleTest, StyleSheetLengthsScale) {
  struct Case {
    const char* in;
    double factor;
    const char* out;
  };
  const Case cases[] = {
      {"QPushButton { padding: 6px 16px; border-radius: 6px; }", 1.5,
       "QPushButton { padding: 9px 24px; border-radius: 9px; }"},
      {"margin: -6px 0px;", 1.5, "margin: -9px 0px;"},
      {"border: 1px solid #343a45;", 1.25, "border: 1px solid #343a45;"},
      {"border: 1px solid;", 0.5, "border: 1px solid;"},  // never below one pixel
      {"font-size: 13px;", 2.0, "font-size: 26px;"},
      {"image: url(skin:images/h2px.svg); width: 2.5px;", 2.0,
       "image: url(skin:images/h2px.svg); width: 5px;"},
      {"no lengths here", 1.5, "no lengths here"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleStyleSheet(QString::fromLatin1(c.in), c.factor), QString::fromLatin1(c.out))
        << c.in;
  }
}

TEST(WindowScaleTest, SizesFontsAndPositionsFollowTheDpiWithoutCompounding) {
  testing::UseProgramSkin();
  std::unique_ptr<QWidget> window = LoadWindow(testing::TestLayout("controls.ui"));
  ASSERT_NE(window, nullptr);
  auto* button = FindControl<QPushButton>(window.get(), QStringLiteral("plain_btn"));
  ASSERT_NE(button, nullptr);
  std::unique_ptr<QWidget> page = LoadWindow(QStringLiteral("XML/DeviceXml/mousedevice.xml"));
  ASSERT_NE(page, nullptr);
  QWidget* key = FindControl(page.get(), QStringLiteral("key_0"));
  ASSERT_NE(key, nullptr);
  window->setStyleSheet(QStringLiteral("QLabel { padding: 4px; }"));

  for (int round = 0; round < 2; ++round) {  // scaling again starts from the layout's values
    ApplyWindowScale(window.get(), 144);
    ApplyWindowScale(page.get(), 144);
    EXPECT_EQ(WindowDpi(window.get()), 144);
    EXPECT_EQ(window->size(), QSize(600, 900));
    EXPECT_EQ(button->minimumSize(), QSize(120, 45));
    EXPECT_EQ(button->font().pointSizeF(), 15.0);
    EXPECT_EQ(window->layout()->contentsMargins(), QMargins(15, 15, 15, 15));
    EXPECT_EQ(window->layout()->spacing(), 9);
    EXPECT_EQ(key->geometry(), QRect(45, 60, 90, 120));
    EXPECT_EQ(window->styleSheet(), QStringLiteral("QLabel { padding: 6px; }"));

    ApplyWindowScale(window.get(), 96);
    ApplyWindowScale(page.get(), 96);
    EXPECT_EQ(window->size(), QSize(400, 600));
    EXPECT_EQ(button->minimumSize(), QSize(80, 30));
    EXPECT_EQ(button->font().pointSizeF(), 10.0);
    EXPECT_EQ(key->geometry(), QRect(30, 40, 60, 80));
    EXPECT_EQ(window->styleSheet(), QStringLiteral("QLabel { padding: 4px; }"));
  }
}

TEST(WindowScaleTest, LengthsOfTheProgramsStyleSheetAreNotScaledTwice) {
  // The program's stylesheet is already scaled for 150 %: its 45 px stays 45 px.
  const QString before = qApp->styleSheet();
  qApp->setStyleSheet(QStringLiteral("QComboBox#scale_probe { min-height: 45px; }"));
  QWidget window;
  auto* box = new QVBoxLayout(&window);
  auto* styled = new QComboBox(&window);
  styled->setObjectName(QStringLiteral("scale_probe"));
  auto* plain = new QComboBox(&window);
  plain->setMinimumHeight(30);
  box->addWidget(styled);
  box->addWidget(plain);
  window.ensurePolished();
  styled->ensurePolished();
  plain->ensurePolished();
  const int styled_min = styled->minimumHeight();
  ASSERT_GE(styled_min, 45);

  ApplyWindowScale(&window, 144);
  EXPECT_EQ(styled->minimumHeight(), styled_min);
  EXPECT_EQ(plain->minimumHeight(), 45);
  qApp->setStyleSheet(before);
}

TEST(FontRegistryTest, AddMakeDefaultAndRemove) {
  const QString path = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  if (!QFile::exists(path)) GTEST_SKIP() << "no font file on this machine";
  const QFont original = QApplication::font();
  {
    FontRegistry fonts;
    EXPECT_TRUE(fonts.AddFromData(QByteArray("not a font")).isEmpty());
    EXPECT_TRUE(fonts.AddFromFile(QStringLiteral("/no/such/font.ttf")).isEmpty());
    const QStringList families = fonts.AddFromFile(path);
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(fonts.Count(), 1);
    FontRegistry::SetDefaultFont(families.first(), 14);
    EXPECT_EQ(QApplication::font().family(), families.first());
    EXPECT_EQ(QApplication::font().pixelSize(), 14);
    fonts.RemoveAll();
    EXPECT_EQ(fonts.Count(), 0);
  }
  QApplication::setFont(original);
}

}  // namespace
}  // namespace vorlin
