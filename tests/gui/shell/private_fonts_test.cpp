#include "shell/private_fonts.h"

#include "shell/language_fonts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>

#include "shell_test_support.h"

namespace vorlin {
namespace {

class PrivateFontsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    const QString good = testing::SourceData(QStringLiteral("Font/DejaVuSans.ttf"));
    ASSERT_TRUE(QFile::copy(good, folder_.filePath(QStringLiteral("a_good.ttf"))));
    ASSERT_TRUE(QFile::copy(good, folder_.filePath(QStringLiteral("c_upper.TTF"))));
    Write(QStringLiteral("b_broken.otf"), QByteArray("OTTO") + QByteArray(500, '\x7f'));
    Write(QStringLiteral("d_empty.ttf"), QByteArray());
    Write(QStringLiteral("readme.txt"), QByteArray("not a font"));
  }
  void Write(const QString& name, const QByteArray& bytes) {
    QFile file(folder_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir folder_;
};

TEST_F(PrivateFontsTest, LoadsTheGoodFilesAndSkipsTheBrokenOnes) {
  EXPECT_EQ(PrivateFonts::FontFilesIn(folder_.path()),
            (QStringList{"a_good.ttf", "b_broken.otf", "c_upper.TTF", "d_empty.ttf"}));
  PrivateFonts fonts;
  EXPECT_EQ(fonts.LoadFolder(folder_.path()), 2);
  EXPECT_EQ(fonts.Count(), 2);
  EXPECT_EQ(fonts.Families(), QStringList{QStringLiteral("DejaVu Sans")});
}

// Application font ids are small numbers handed out from 0; none is in use between tests.
bool AnyApplicationFont() {
  for (int id = 0; id < 256; ++id) {
    if (!QFontDatabase::applicationFontFamilies(id).isEmpty()) return true;
  }
  return false;
}

TEST_F(PrivateFontsTest, FontsAreRemovedAtTearDown) {
  ASSERT_FALSE(AnyApplicationFont());
  {
    PrivateFonts fonts;
    ASSERT_EQ(fonts.LoadFolder(folder_.path()), 2);
    EXPECT_TRUE(AnyApplicationFont());
  }
  EXPECT_FALSE(AnyApplicationFont());
}

TEST_F(PrivateFontsTest, MissingFolderOrFileLoadsNothing) {
  PrivateFonts fonts;
  EXPECT_EQ(fonts.LoadFolder(folder_.filePath(QStringLiteral("nowhere"))), 0);
  EXPECT_FALSE(fonts.LoadFile(folder_.filePath(QStringLiteral("missing.ttf"))));
  EXPECT_EQ(fonts.Count(), 0);
}

TEST(ShippedFonts, EveryFileOfTheFontFolderLoads) {
  const QString folder = testing::SourceData(QStringLiteral("Font"));
  PrivateFonts fonts;
  EXPECT_GT(fonts.LoadFolder(folder), 0);
  EXPECT_EQ(fonts.Count(), PrivateFonts::FontFilesIn(folder).size());
}

// The faces the languages name are not shipped; with the program's fonts loaded the shared one
// must come out as the shipped DejaVu Sans rather than whatever the desktop picks.
TEST(ShippedFonts, SharedLanguageFaceResolvesToTheShippedFont) {
  PrivateFonts fonts;
  ASSERT_GT(fonts.LoadFolder(testing::SourceData(QStringLiteral("Font"))), 0);
  RegisterFontSubstitutes();
  EXPECT_TRUE(QFont::substitutes(QString::fromUtf16(kFaceOther))
                  .contains("DejaVu Sans", Qt::CaseInsensitive));
  for (const UiFont& font : BuildUiFonts(QString::fromUtf16(kFaceOther))) {
    EXPECT_EQ(QFontInfo(font.font).family(), "DejaVu Sans") << font.id;
  }
}

}  // namespace
}  // namespace vorlin
