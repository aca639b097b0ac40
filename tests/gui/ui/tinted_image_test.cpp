#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "ui/light_colour.h"
#include "ui/tinted_image.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

TEST(LightColourTest, FrameEntryPacksRedBlueGreen) {
  // Frame entry: red 0x10, green 0x20, blue 0x30, level 0x80.
  const uint32_t entry = 0x80302010;
  const uint32_t word = LightColourFromFrameEntry(entry);
  EXPECT_EQ(word & 0xFF, 0x10u);
  EXPECT_EQ((word >> 8) & 0xFF, 0x30u);
  EXPECT_EQ((word >> 16) & 0xFF, 0x20u);
  EXPECT_EQ(word >> 24, 0u);
  EXPECT_EQ(LightLevelFromFrameEntry(entry), 0x80);
  EXPECT_EQ(LightColourToQColor(word), QColor(0x10, 0x20, 0x30));
  EXPECT_EQ(LightColourFromFrameEntry(0x00FFFFFF), 0x00FFFFFFu);  // white either way
}

QImage OnePixel(QRgb pixel) {
  QImage image(1, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, pixel);
  return image;
}

struct TintCase {
  const char* what;
  QRgb source;
  uint32_t word;
  int level;
  QRgb expected;
};

TEST(TintImageTest, PixelValues) {
  const uint32_t colour = PackLightColour(0x10, 0x20, 0x30);
  const TintCase cases[] = {
      {"white at full level gives the colour", qRgba(255, 255, 255, 255), colour, 255,
       qRgba(0x10, 0x20, 0x30, 255)},
      {"level 0 is invisible", qRgba(255, 255, 255, 255), colour, 0, qRgba(0x10, 0x20, 0x30, 0)},
      {"half level, half opacity", qRgba(255, 255, 255, 255), colour, 128,
       qRgba(0x10, 0x20, 0x30, 128)},
      {"grey halves the colour", qRgba(128, 128, 128, 255), PackLightColour(200, 100, 50), 255,
       qRgba(100, 50, 25, 255)},
      {"brightest channel counts", qRgba(0, 255, 0, 255), PackLightColour(200, 0, 0), 255,
       qRgba(200, 0, 0, 255)},
      {"transparent stays transparent", qRgba(255, 255, 255, 0), colour, 255,
       qRgba(0x10, 0x20, 0x30, 0)},
      {"source alpha scales with level", qRgba(255, 255, 255, 128), colour, 128,
       qRgba(0x10, 0x20, 0x30, 64)},
      {"level above 255 is clamped", qRgba(255, 255, 255, 255), colour, 999,
       qRgba(0x10, 0x20, 0x30, 255)},
      {"negative level is clamped", qRgba(255, 255, 255, 255), colour, -5,
       qRgba(0x10, 0x20, 0x30, 0)},
      {"green lives in bits 16-23", qRgba(255, 255, 255, 255), 0x00FF0000u, 255,
       qRgba(0, 255, 0, 255)},
  };
  for (const TintCase& c : cases) {
    SCOPED_TRACE(c.what);
    const QImage out = TintImage(OnePixel(c.source), c.word, c.level);
    ASSERT_EQ(out.format(), QImage::Format_ARGB32);
    const QRgb px = out.pixel(0, 0);
    EXPECT_EQ(qAlpha(px), qAlpha(c.expected));
    if (qAlpha(c.expected) > 0) {
      EXPECT_EQ(qRed(px), qRed(c.expected));
      EXPECT_EQ(qGreen(px), qGreen(c.expected));
      EXPECT_EQ(qBlue(px), qBlue(c.expected));
    }
  }
}

TEST(TintImageTest, NullImageGivesNull) {
  EXPECT_TRUE(TintImage(QImage(), 0xFFFFFF, 255).isNull());
}

TEST(TintImageTest, DrawingComposesOverTheBackground) {
  QImage light(4, 4, QImage::Format_ARGB32);
  light.fill(Qt::white);
  QImage canvas(4, 4, QImage::Format_ARGB32);
  const auto draw = [&](int level) {
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    DrawTintedImage(painter, canvas.rect(), light, PackLightColour(255, 0, 0), level);
  };
  draw(0);
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 0));
  draw(255);
  EXPECT_EQ(canvas.pixel(1, 1), qRgb(255, 0, 0));
  draw(128);
  EXPECT_NEAR(qRed(canvas.pixel(1, 1)), 128, 1);
  EXPECT_EQ(qGreen(canvas.pixel(1, 1)), 0);
}

}  // namespace
}  // namespace vorlin
