// The fit check on small windows made for it: it must find a text cut off by its control or its
// container and controls over each other, leave alone what fits, what elides on purpose and the
// parts of a device picture, and show every page of nested tab layouts.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

#include "fit_check.h"
#include "ui/select_panel.h"

namespace vorlin {
namespace {

constexpr char kLong[] = "A text far too long for the control it is in";

QStringList Controls(const std::vector<test::FitFault>& faults) {
  QStringList names;
  for (const test::FitFault& fault : faults) names << fault.control;
  return names;
}

class FitCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->setObjectName(QStringLiteral("window"));
    window_->resize(600, 400);
  }

  // Walks every page of the window's tab layouts; for each page visited, the texts of the
  // labels then shown, joined with '+'.
  QStringList PagesSeen() {
    QStringList seen;
    test::VisitEveryPage(window_.get(), [&] {
      QStringList shown;
      for (QLabel* label : window_->findChildren<QLabel*>()) {
        if (label->isVisibleTo(window_.get())) shown << label->text();
      }
      seen << shown.join(QLatin1Char('+'));
    });
    return seen;
  }

 public:
  // A control placed at `rect` in the window.
  template <typename T>
  T* Place(const char* name, const QRect& rect, QWidget* parent = nullptr) {
    auto* control = new T(parent ? parent : window_.get());
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(rect);
    return control;
  }
  std::vector<test::FitFault> Faults() {
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    return test::FindFitFaults(window_.get());
  }
  std::unique_ptr<QWidget> window_;
};

TEST_F(FitCheckTest, FindsTextsWiderThanTheirControl) {
  struct Case {
    const char* name;
    std::function<QWidget*(FitCheckTest&, const QRect&)> make;
  };
  const Case cases[] = {
      {"label",
       [](FitCheckTest& t, const QRect& r) {
         auto* label = t.Place<QLabel>("label", r);
         label->setText(QLatin1String(kLong));
         return label;
       }},
      {"button",
       [](FitCheckTest& t, const QRect& r) {
         auto* button = t.Place<QPushButton>("button", r);
         button->setText(QLatin1String(kLong));
         return button;
       }},
      {"check",
       [](FitCheckTest& t, const QRect& r) {
         auto* check = t.Place<QCheckBox>("check", r);
         check->setText(QLatin1String(kLong));
         return check;
       }},
      {"combo",
       [](FitCheckTest& t, const QRect& r) {
         auto* combo = t.Place<QComboBox>("combo", r);
         combo->addItems({QStringLiteral("Short"), QLatin1String(kLong)});
         return combo;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    QWidget* narrow = c.make(*this, QRect(10, 10, 60, 40));
    const std::vector<test::FitFault> faults = Faults();
    ASSERT_EQ(faults.size(), 1u) << Controls(faults).join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(faults[0].control, QString::fromLatin1(c.name));
    EXPECT_EQ(faults[0].text, QLatin1String(kLong));

    narrow->setGeometry(10, 10, 580, 40);  // room enough
    EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());
    narrow->setGeometry(10, 10, 60, 40);
    narrow->setProperty("elide", true);  // the control shortens its text itself
    EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());
  }
}

TEST_F(FitCheckTest, FindsATextTooTallForItsControlOrItsWrappedLines) {
  auto* flat = Place<QLabel>("flat", QRect(10, 10, 200, 3));
  flat->setText(QStringLiteral("Flat"));
  auto* wrapped = Place<QLabel>("wrapped", QRect(10, 100, 80, 20));
  wrapped->setWordWrap(true);
  wrapped->setText(QStringLiteral("several words that need several lines here"));
  EXPECT_EQ(Controls(Faults()), (QStringList{"flat", "wrapped"}));
  flat->setGeometry(10, 10, 200, 30);
  wrapped->setGeometry(10, 100, 80, 300);
  EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());
}

TEST_F(FitCheckTest, FindsAControlCutOffByItsContainer) {
  auto* box = Place<QWidget>("box", QRect(10, 10, 100, 40));
  auto* label = Place<QLabel>("inside", QRect(60, 5, 80, 20), box);
  label->setText(QStringLiteral("Fits"));
  const std::vector<test::FitFault> faults = Faults();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].control, QStringLiteral("box/inside"));
  EXPECT_TRUE(faults[0].problem.contains(QLatin1String("cut off by box")))
      << faults[0].problem.toStdString();

  // In a scroll area the text may reach below the view (it scrolls there), but not across it
  // when the area never scrolls across.
  label->setGeometry(5, 5, 80, 20);
  auto* area = Place<QScrollArea>("area", QRect(200, 10, 150, 100));
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("content"));
  content->resize(120, 600);
  auto* below = Place<QLabel>("below", QRect(5, 500, 80, 20), content);
  below->setText(QStringLiteral("Below"));
  area->setWidget(content);
  area->show();
  ASSERT_TRUE(below->isVisibleTo(window_.get()));
  EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());
  content->resize(400, 600);
  below->move(300, 500);
  EXPECT_EQ(Controls(test::FindFitFaults(window_.get())), QStringList{"area/content/below"});
}

TEST_F(FitCheckTest, FindsSiblingsOverEachOtherButNotPictureParts) {
  auto* first = Place<QPushButton>("first", QRect(10, 10, 100, 30));
  Place<QPushButton>("second", QRect(105, 10, 100, 30));
  Place<QLabel>("decoration", QRect(0, 0, 300, 100));  // an empty label is background
  const std::vector<test::FitFault> faults = Faults();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].control, QStringLiteral("first"));
  EXPECT_TRUE(faults[0].problem.contains(QLatin1String("overlaps second")));
  first->setGeometry(10, 10, 95, 30);  // touching is not overlapping
  EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());

  // The buttons of a device picture lie on it, and on each other, on purpose.
  auto* picture = Place<CSelectPanelUI>("picture", QRect(300, 100, 200, 200));
  Place<QPushButton>("key_0", QRect(10, 10, 50, 50), picture);
  Place<QPushButton>("key_1", QRect(40, 40, 50, 50), picture);
  EXPECT_TRUE(test::FindFitFaults(window_.get()).empty());
}

TEST_F(FitCheckTest, VisitsEveryPageOfNestedTabLayouts) {
  auto* box = new QVBoxLayout(window_.get());
  auto* outer = new QStackedWidget;
  outer->setObjectName(QStringLiteral("outer"));
  box->addWidget(outer);
  auto* plain = new QLabel(QStringLiteral("plain"));
  auto* holder = new QWidget;
  auto* holder_box = new QVBoxLayout(holder);
  auto* inner = new QStackedWidget;
  inner->setObjectName(QStringLiteral("inner"));
  holder_box->addWidget(inner);
  for (const char* text : {"inner 0", "inner 1", "inner 2"})
    inner->addWidget(new QLabel(QString::fromLatin1(text)));
  inner->setCurrentIndex(1);
  outer->addWidget(plain);
  outer->addWidget(holder);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));

  const QStringList seen = PagesSeen();
  EXPECT_EQ(seen, (QStringList{"plain", "inner 1", "inner 0", "inner 2"}));
  // Each layout is back on the page it had.
  EXPECT_EQ(outer->currentIndex(), 0);
  EXPECT_EQ(inner->currentIndex(), 1);
}

// A tab layout that is itself a page of another (no widget between them) has its pages visited
// too.
TEST_F(FitCheckTest, VisitsThePagesOfATabLayoutThatIsAPage) {
  auto* box = new QVBoxLayout(window_.get());
  auto* outer = new QStackedWidget;
  box->addWidget(outer);
  auto* inner = new QStackedWidget;
  for (const char* text : {"inner 0", "inner 1"})
    inner->addWidget(new QLabel(QString::fromLatin1(text)));
  outer->addWidget(inner);
  outer->addWidget(new QLabel(QStringLiteral("plain")));
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));

  const QStringList seen = PagesSeen();
  EXPECT_EQ(seen, (QStringList{"inner 0", "inner 1", "plain"}));
  EXPECT_EQ(outer->currentIndex(), 0);
  EXPECT_EQ(inner->currentIndex(), 0);
}

}  // namespace
}  // namespace vorlin
