#include "shell/about_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QTemporaryDir>

#include "shell/app_identity.h"
#include "shell_test_support.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

class AboutWindowTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    // Parameter: true = the skin's "AboutWnd.xml", false = a skin without it.
    if (!GetParam()) SkinManager::Instance().SetSkinFolder(empty_.path());
  }
  QTemporaryDir empty_;
};

TEST_P(AboutWindowTest, ShowsTheVersionInTheCurrentLanguage) {
  CAboutWnd about(nullptr);
  auto* label = FindControl<QLabel>(about.Window(), QStringLiteral("software_ver_label"));
  ASSERT_NE(label, nullptr);
  const QString version = QStringLiteral("V") + QString::fromLatin1(AppVersion());
  EXPECT_EQ(label->text(), QStringLiteral("Software version: ") + version);
  EXPECT_EQ(about.Window()->size(), QSize(800, 572));
  EXPECT_EQ(about.Window()->windowTitle(), QStringLiteral("Vorlin Mouse"));

  SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(label->text(), QStringLiteral(u"软件版本：") + version);
  EXPECT_EQ(about.Window()->windowTitle(), QStringLiteral(u"Vorlin 鼠标"));
}

TEST_P(AboutWindowTest, CloseButtonEndsIt) {
  CAboutWnd about(nullptr);
  bool clicked = false;
  testing::WhenModalShown([&clicked](QWidget* modal) {
    if (auto* close = FindControl<QAbstractButton>(modal, QStringLiteral("closebtn"))) {
      clicked = true;
      close->click();
    }
  });
  about.Exec();
  EXPECT_TRUE(clicked);
  EXPECT_FALSE(about.Window()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Layouts, AboutWindowTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "SkinLayout" : "BuiltIn";
                         });

// Receives the links the program hands to the desktop.
class LinkCatcher : public QObject {
  Q_OBJECT
 public slots:
  void open(const QUrl& url) { opened << url; }

 public:
  QList<QUrl> opened;
};

TEST(AboutHomepage, TheLinkOpensTheHomepageOrIsHidden) {
  SkinManager::Instance().SetSkinFolder(testing::ShellTestSkin());
  LinkCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
  struct Case {
    const char* url;
    bool shown;
  };
  const Case cases[] = {
      {"https://vorlin.dev/", true},
      {"https://vorlin.example.org", false},  // the build's placeholder
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    catcher.opened.clear();
    CAboutWnd about(nullptr, QUrl(QString::fromLatin1(c.url)));
    auto* link = FindControl<QAbstractButton>(about.Window(), QStringLiteral("homepage_btn"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->isVisibleTo(about.Window()), c.shown);
    link->click();
    EXPECT_EQ(catcher.opened,
              c.shown ? QList<QUrl>{QUrl(QString::fromLatin1(c.url))} : QList<QUrl>{});
  }
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(AboutHomepage, OnlyAPageABrowserCanShowIsUsable) {
  const std::pair<const char*, bool> cases[] = {
      {"https://vorlin.dev", true},          {"http://www.vorlin.org/about", true},
      {"https://example.org", false},        {"https://www.example.com", false},
      {"https://vorlin.example.net", false}, {"https://vorlin.test", false},
      {"https://localhost:8080", false},     {"ftp://vorlin.dev", false},
      {"file:///etc/passwd", false},         {"not a url", false},
      {"https://notexample.org", true},
  };
  for (const auto& [url, usable] : cases) {
    EXPECT_EQ(IsUsableHomepage(QUrl(QString::fromLatin1(url))), usable) << url;
  }
}

TEST(AboutVersion, LabelThenVersion) {
  EXPECT_EQ(AboutVersionText(QStringLiteral("Version "), QStringLiteral("1.2.3")),
            "Version V1.2.3");
  EXPECT_STRNE(AppVersion(), "");
  EXPECT_STRNE(AppVersion(), "0.0.0") << "the build did not pass the project version";
}

}  // namespace
}  // namespace vorlin

#include "about_window_test.moc"
