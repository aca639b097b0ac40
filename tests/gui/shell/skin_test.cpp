#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "shell/skin_background.h"
#include "shell/skin_observer.h"
#include "shell/skin_settings.h"
#include "shell/skin_window.h"
#include "shell_test_support.h"

namespace vorlin {
namespace {

class SkinSettingsTest : public ::testing::Test {
 protected:
  // Every case gets its own file: the settings code must not see an earlier case's values.
  QString NewPath() { return folder_.filePath(QStringLiteral("main%1.ini").arg(++files_)); }
  QString WithContent(const QByteArray& content) {
    const QString path = NewPath();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }
  QTemporaryDir folder_;
  int files_ = 0;
};

TEST_F(SkinSettingsTest, RoundTrip) {
  const SkinImageSetting settings[] = {
      {true, QStringLiteral("skin/bg1.png")},
      {false, QStringLiteral("common/background.png")},
      {true, QStringLiteral("/home/user/Bilder/mein Hintergrund (1).png")},
      {true, QStringLiteral(u"图片/背景=1;#2.png")},
  };
  for (const SkinImageSetting& setting : settings) {
    const QString path = NewPath();
    ASSERT_TRUE(WriteSkinImageSetting(path, setting));
    EXPECT_EQ(ReadSkinImageSetting(path), setting) << setting.image.toStdString();
  }
}

TEST_F(SkinSettingsTest, WrittenAsTheKeysOfItsSection) {
  const QString path = WithContent("[OTHER]\nKEEP=yes\n");
  ASSERT_TRUE(WriteSkinImageSetting(path, {true, QStringLiteral("skin/bg2.png")}));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains(QLatin1String("[SKINIMAGE]"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QLatin1String("FLAGS=1"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QLatin1String("IMAGE=skin/bg2.png"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QLatin1String("KEEP=yes"))) << "another section was lost";
}

TEST_F(SkinSettingsTest, UnusableFilesGiveTheDefault) {
  const QByteArray contents[] = {
      "",
      QByteArray("\x00\xff\xfe[[[\x01", 8),
      "[SKINIMAGE]\nFLAGS=2\nIMAGE=skin/bg1.png\n",
      "[SKINIMAGE]\nFLAGS=yes\nIMAGE=skin/bg1.png\n",
      "[SKINIMAGE]\nFLAGS=1\nIMAGE=\n",
      "[SKINIMAGE]\nFLAGS=1\n",
      "[OTHER]\nFLAGS=1\nIMAGE=skin/bg1.png\n",
  };
  for (const QByteArray& content : contents) {
    EXPECT_EQ(ReadSkinImageSetting(WithContent(content)), DefaultSkinImageSetting())
        << content.toStdString();
  }
  EXPECT_EQ(ReadSkinImageSetting(folder_.filePath(QStringLiteral("absent.ini"))),
            DefaultSkinImageSetting());
  EXPECT_EQ(DefaultSkinImageSetting(), (SkinImageSetting{false, "common/background.png"}));
}

TEST(SkinColor, Parsing) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t color;
  };
  const Case cases[] = {
      {"#FF2F9BFF", true, 0xFF2F9BFF},
      {"0x80101820", true, 0x80101820},
      {"#2f9bff", true, 0xFF2F9BFF},
      {" 0X00000000 ", true, 0},
      {"2F9BFF", false, 0},
      {"#12345", false, 0},
      {"#GG0000", false, 0},
      {"", false, 0},
      {"#FF2F9BFF00", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t color = 0xDEADBEEF;
    EXPECT_EQ(ParseSkinColor(QString::fromLatin1(c.text), &color), c.ok) << c.text;
    EXPECT_EQ(color, c.ok ? c.color : 0xDEADBEEF) << c.text;
  }
}

TEST(SkinWindowPlacement, RightEdgeAndTopFollowTheButton) {
  const QRect button(500, 10, 30, 20);  // right edge after x 529, bottom edge after y 29
  const QPoint corner = SkinWindowPosition(button, QSize(240, 160));
  EXPECT_EQ(corner, QPoint(290, 30));
  EXPECT_EQ(QRect(corner, QSize(240, 160)).right(), button.right());
}

class RecordingReceiver : public SkinChangedReceiver {
 public:
  void OnSkinChanged(const SkinChangedParam& param) override { received.push_back(param); }
  std::vector<SkinChangedParam> received;
};

TEST(SkinObserver, TellsReceiversInOrderAndSurvivesRemovalWhileTelling) {
  SkinObserver observer;
  std::vector<int> order;
  struct Receiver : SkinChangedReceiver {
    Receiver(int id, std::vector<int>* order, SkinObserver* observer)
        : id(id), order(order), observer(observer) {}
    void OnSkinChanged(const SkinChangedParam&) override {
      order->push_back(id);
      if (remove) observer->RemoveReceiver(remove);
    }
    int id;
    std::vector<int>* order;
    SkinObserver* observer;
    SkinChangedReceiver* remove = nullptr;
  };
  Receiver a(1, &order, &observer), b(2, &order, &observer), c(3, &order, &observer);
  observer.AddReceiver(&a);
  observer.AddReceiver(&b);
  observer.AddReceiver(&c);
  observer.AddReceiver(&a);  // registered once only
  a.remove = &c;
  observer.Notify({});
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  order.clear();
  observer.Notify({});
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

class SkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
    observer_.AddReceiver(&receiver_);
    window_.SetFileChooser([this](QWidget*) { return chosen_file_; });
    ASSERT_TRUE(window_.Create());
  }
  QList<QPushButton*> Buttons(const QString& name) const {
    return window_.Window()->findChildren<QPushButton*>(name);
  }
  QTemporaryDir folder_;
  QString ini_ = folder_.filePath(QStringLiteral("main.ini"));
  SkinObserver observer_;
  RecordingReceiver receiver_;
  CSkinWnd window_{&observer_, ini_};
  QString chosen_file_;
};

TEST_F(SkinWindowTest, PictureFromTheListIsShownAndStored) {
  ASSERT_EQ(Buttons(QStringLiteral("skin_image_btn")).size(), 2);
  Buttons(QStringLiteral("skin_image_btn"))[1]->click();
  ASSERT_EQ(receiver_.received.size(), 1u);
  EXPECT_EQ(receiver_.received[0], (SkinChangedParam{false, 0, "skin/bg2.png"}));
  EXPECT_EQ(ReadSkinImageSetting(ini_), (SkinImageSetting{true, "skin/bg2.png"}));
}

TEST_F(SkinWindowTest, ColourIsShownButNotStored) {
  const auto colours = Buttons(QStringLiteral("skin_color_btn"));
  ASSERT_EQ(colours.size(), 2);
  colours[0]->click();
  colours[1]->click();
  ASSERT_EQ(receiver_.received.size(), 2u);
  EXPECT_EQ(receiver_.received[0], (SkinChangedParam{true, 0xFF2F9BFF, QString()}));
  EXPECT_EQ(receiver_.received[1], (SkinChangedParam{true, 0x80101820, QString()}));
  EXPECT_FALSE(QFile::exists(ini_));
}

TEST_F(SkinWindowTest, ResetShowsAndStoresTheDefaultPicture) {
  Buttons(QStringLiteral("skin_image_btn"))[0]->click();
  Buttons(QStringLiteral("skin_reset"))[0]->click();
  ASSERT_EQ(receiver_.received.size(), 2u);
  EXPECT_EQ(receiver_.received[1], (SkinChangedParam{false, 0, "common/background.png"}));
  EXPECT_EQ(ReadSkinImageSetting(ini_), (SkinImageSetting{false, "common/background.png"}));
}

TEST_F(SkinWindowTest, CustomPictureIsShownOnlyWhenChosenAndNeverStored) {
  Buttons(QStringLiteral("skin_Custom"))[0]->click();  // cancelled
  EXPECT_TRUE(receiver_.received.empty());
  chosen_file_ = QStringLiteral("/home/user/wall.png");
  Buttons(QStringLiteral("skin_Custom"))[0]->click();
  ASSERT_EQ(receiver_.received.size(), 1u);
  EXPECT_EQ(receiver_.received[0], (SkinChangedParam{false, 0, "/home/user/wall.png"}));
  EXPECT_FALSE(QFile::exists(ini_));
}

TEST_F(SkinWindowTest, TabButtonsSwitchPages) {
  auto* tabs = FindControl<QStackedWidget>(window_.Window(), QStringLiteral("skin_tab"));
  ASSERT_NE(tabs, nullptr);
  Buttons(QStringLiteral("skin_color"))[0]->click();
  EXPECT_EQ(tabs->currentIndex(), 1);
  Buttons(QStringLiteral("skin_image"))[0]->click();
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_TRUE(receiver_.received.empty());
}

TEST(SkinWindowWithoutLayout, IsNotCreated) {
  QTemporaryDir empty_skin;
  SkinManager::Instance().SetSkinFolder(empty_skin.path());
  SkinObserver observer;
  CSkinWnd window(&observer, empty_skin.filePath(QStringLiteral("main.ini")));
  EXPECT_FALSE(window.Create());
  window.ShowBelow(nullptr);  // nothing to show, nothing breaks
  EXPECT_EQ(window.Window(), nullptr);
}

TEST(SkinBackground, ColourOrPictureReplaceEachOther) {
  SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
  QWidget root;
  root.setObjectName(QStringLiteral("root"));
  root.setStyleSheet(QStringLiteral("#root { border: 1px solid red; }"));
  ApplySkinBackground(&root, {true, 0xFF112233, QString()});
  EXPECT_TRUE(root.styleSheet().contains(QLatin1String("#ff112233")))
      << root.styleSheet().toStdString();
  EXPECT_TRUE(root.styleSheet().contains(QLatin1String("border-image: none")));
  ApplySkinBackground(&root, {false, 0, QStringLiteral("/tmp/my \"wall\".png")});
  const QString sheet = root.styleSheet();
  EXPECT_FALSE(sheet.contains(QLatin1String("#ff112233")));
  EXPECT_TRUE(sheet.contains(QLatin1String("url(\"/tmp/my \\\"wall\\\".png\")")))
      << sheet.toStdString();
  EXPECT_TRUE(sheet.startsWith(QLatin1String("#root { border: 1px solid red; }")))
      << "the layout's own style was lost";
}

}  // namespace
}  // namespace vorlin
