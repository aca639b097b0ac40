// A disabled button of the skin looks disabled: whatever its role, checked or not, its brightest
// part (the text, or the fill of a primary button) dims.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/skin_manager.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

int BrightestLightness(const QImage& image) {
  int brightest = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      brightest = std::max(brightest, QColor(image.pixel(x, y)).lightness());
  return brightest;
}

TEST(DisabledLook, EveryButtonRoleDimsWhenDisabled) {
  testing::UseProgramSkin();
  const QString style = SkinManager::Instance().StyleSheet();
  ASSERT_FALSE(style.isEmpty());
  QWidget panel;
  panel.setProperty("panel", true);
  panel.setStyleSheet(style);
  auto* layout = new QVBoxLayout(&panel);
  struct Case {
    const char* role;
    bool checked;
  };
  const Case cases[] = {{"", false},          {"", true},          {"primary", false},
                        {"toggle", false},    {"toggle", true},    {"lightaction", false},
                        {"lightsegment", false}, {"lightsegment", true}, {"lighticon", false}};
  std::vector<QPushButton*> buttons;
  for (const Case& c : cases) {
    auto* button = new QPushButton(QStringLiteral("Apply"));
    if (*c.role) button->setProperty("role", QString::fromLatin1(c.role));
    button->setCheckable(c.checked);
    button->setChecked(c.checked);
    button->setMinimumSize(120, 32);
    layout->addWidget(button);
    buttons.push_back(button);
  }
  panel.show();
  QApplication::processEvents();
  for (size_t i = 0; i < buttons.size(); ++i) {
    QPushButton* button = buttons[i];
    const int enabled = BrightestLightness(button->grab().toImage());
    button->setEnabled(false);
    QApplication::processEvents();
    const int disabled = BrightestLightness(button->grab().toImage());
    EXPECT_LE(disabled + 8, enabled)
        << "role \"" << cases[i].role << "\"" << (cases[i].checked ? " checked" : "");
  }
}

}  // namespace
}  // namespace vorlin
