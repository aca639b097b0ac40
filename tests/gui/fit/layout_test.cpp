// The main window's layout over the emulated devices: the column of panels has the same place and
// width on every device page, the user can make the window larger (never smaller than its
// minimum) and the picture and panels take the room, no list scrolls inside a page that scrolls,
// and the secondary windows take the main window's scale.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDialog>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

#include <filesystem>

#include "app/settings_window.h"
#include "fit_check.h"
#include "gui/app/main_window_fixture.h"
#include "macro/macro_control_ui.h"
#include "modal.h"
#include "pages/device_function_area.h"
#include "pages/device_page.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "pages/picture_fit.h"
#include "ui/find_control.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

QRect InWindow(const QWidget* widget) {
  return QRect(widget->mapTo(widget->window(), QPoint()), widget->size());
}

class LayoutTest : public test::MainWindowFixture {
 protected:
  int ForcedDpi() const override { return dpi_; }

  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown(AllDevices(), 10000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_->Window()));
  }
  QStringList AllDevices() const {
    QStringList names;
    for (const std::string& name : emulator_.DataNames()) names << QString::fromStdString(name);
    return names;
  }
  // Shows the page of `data_name` as choosing its option does.
  DevicePage* ShowPage(const QString& data_name) {
    DevicePage* page = PageOf(data_name.toLatin1().constData());
    if (!page) return nullptr;
    auto* pages = FindControl<QStackedWidget>(window_->Window(), QStringLiteral("device_switch"));
    pages->setCurrentWidget(page);
    test::Settle(window_->Window());
    return page;
  }
  // Opens the window again at `dpi` unless it has that scale.
  void UseScale(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    RestartWindow();
    ASSERT_TRUE(WaitShown(AllDevices(), 10000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_->Window()));
  }
  static QWidget* Column(DevicePage* page) {
    return FindControl(page, QStringLiteral("device_side_column"));
  }

  int dpi_ = 96;
};

TEST_F(LayoutTest, TheColumnOfPanelsHasOnePlaceOnEveryPage) {
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    ASSERT_NO_FATAL_FAILURE(UseScale(dpi));
    std::optional<QRect> first;
    for (const QString& name : AllDevices()) {
      DevicePage* page = ShowPage(name);
      ASSERT_NE(page, nullptr) << name.toStdString();
      const QRect column = InWindow(Column(page));
      EXPECT_EQ(column.width(), DevicePage::kSideColumnWidth * dpi / 96) << name.toStdString();
      if (!first) first = column;
      EXPECT_EQ(column, *first) << name.toStdString();
      // The picture has the room beside it, and fills it in one direction.
      QWidget* area = FindControl(page, QStringLiteral("device_picture_area"));
      ASSERT_NE(area, nullptr);
      EXPECT_LT(InWindow(area).right(), column.left());
      const QSize picture = page->Picture()->size();
      EXPECT_TRUE(QRect(QPoint(), area->size()).contains(QRect(page->Picture()->pos(), picture)))
          << name.toStdString() << ": picture at " << page->Picture()->x() << ","
          << page->Picture()->y() << " " << picture.width() << "x" << picture.height() << " in "
          << area->width() << "x" << area->height();
      // ...unless it is drawn as large as it may be (a large room does not blow it up).
      QSize largest;
      for (QObject* child : area->children()) {
        if (auto* fit = dynamic_cast<PictureFit*>(child))
          largest = fit->Base() * kMaxPictureGrowth * dpi / 96;
      }
      const bool at_limit = !largest.isEmpty() && std::abs(picture.width() - largest.width()) <= 2;
      EXPECT_TRUE(picture.width() >= area->width() - 2 || picture.height() >= area->height() - 2 ||
                  at_limit)
          << name.toStdString() << ": picture " << picture.width() << "x" << picture.height()
          << " in " << area->width() << "x" << area->height() << ", largest " << largest.width()
          << "x" << largest.height();
    }
  }
}

TEST_F(LayoutTest, ALargerWindowGivesThePanelsAndThePictureTheRoom) {
  QWidget* main = window_->Window();
  const QSize minimum = main->size();
  DevicePage* page = ShowPage(QStringLiteral("keyboard"));
  ASSERT_NE(page, nullptr);
  auto* panels = page->findChild<QStackedWidget*>(QStringLiteral("device_function_switch"));
  ASSERT_NE(panels, nullptr);
  const QSize panels_before = panels->size();
  const QSize picture_before = page->Picture()->size();
  const QRect column_before = InWindow(Column(page));

  main->resize(minimum + QSize(300, 200));
  test::Settle(main);
  EXPECT_EQ(panels->height(), panels_before.height() + 200);
  EXPECT_EQ(Column(page)->width(), column_before.width());
  EXPECT_GT(page->Picture()->width(), picture_before.width());
  EXPECT_GT(page->Picture()->height(), picture_before.height());

  // Never smaller than the window the program opens.
  main->resize(minimum - QSize(300, 200));
  test::Settle(main);
  EXPECT_EQ(main->size(), minimum);
  EXPECT_EQ(panels->size(), panels_before);
  // The corner grip the user drags is there.
  ASSERT_NE(FindControl(main, QStringLiteral("resize_grip")), nullptr);
  EXPECT_TRUE(FindControl(main, QStringLiteral("resize_grip"))->isVisibleTo(main));
}

TEST_F(LayoutTest, PictureScaleFillsTheRoomUpToItsLimit) {
  struct Case {
    QSize base, room;
    double window_factor, expected;
  };
  const Case cases[] = {
      {{200, 300}, {400, 300}, 1.0, 1.0},          // the height limits
      {{440, 170}, {300, 400}, 1.0, 300.0 / 440},  // the width limits, smaller than the layout
      {{200, 300}, {2000, 3000}, 1.0, kMaxPictureGrowth},  // never blown up past the limit
      {{200, 300}, {2000, 3000}, 1.5, 1.5 * kMaxPictureGrowth},
      {{0, 300}, {400, 300}, 1.0, 0.0},  // nothing to show
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(PictureScale(c.base, c.room, c.window_factor), c.expected)
        << c.base.width() << "x" << c.base.height() << " in " << c.room.width() << "x"
        << c.room.height();
  }
}

// The mouse's macro lists with more rows than they show at their largest: many macros, one of
// them with many events. Removed again when it goes (the user data folder lives as long as the
// test program).
class FullMacroLists {
 public:
  explicit FullMacroLists(CMacroControlUI* panel) : panel_(panel) {
    for (int i = 0; i < 40; ++i) panel_->NewMacro();
    panel_->SelectMacro(0);
    for (int i = 0; i < 60; ++i) panel_->InsertMove(MoveDirection::kLeft);
  }
  ~FullMacroLists() {
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(panel_->Library().Folder(), error)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".mac" || entry.path().filename() == "macro.config")
        std::filesystem::remove(entry.path(), error);
    }
    panel_->LoadMacroList();
  }
  FullMacroLists(const FullMacroLists&) = delete;
  FullMacroLists& operator=(const FullMacroLists&) = delete;

 private:
  CMacroControlUI* panel_;
};

// A list may scroll inside a page that scrolls only at its smallest: the page scrolls when its
// panel cannot shrink further, and a list that could give up rows must have done so. Where the
// page has the room, it does not scroll and the lists grow into it. At the opening size and in a
// taller window, at both scales.
TEST_F(LayoutTest, NoListScrollsInsideAPageThatScrolls) {
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    ASSERT_NO_FATAL_FAILURE(UseScale(dpi));
    QWidget* main = window_->Window();
    DevicePage* mouse = PageOf("mouse");
    ASSERT_TRUE(mouse && mouse->Mouse());
    CMacroControlUI* macros = mouse->Mouse()->MacroPanel();
    ASSERT_NE(macros, nullptr);
    const FullMacroLists full(macros);
    ASSERT_EQ(macros->Library().Count(), 40);
    ASSERT_EQ(macros->Events().Count(), 60);
    auto* names = FindControl<QListWidget>(macros, QStringLiteral("macro_name_list"));
    auto* events = FindControl<QListWidget>(macros, QStringLiteral("macro_action_list"));
    auto* column = qobject_cast<QScrollArea*>(macros->parentWidget()->parentWidget());
    ASSERT_TRUE(names && events && column);

    const QSize opening = main->size();
    std::map<const QListWidget*, int> opening_height;
    for (const QSize larger : {QSize(0, 0), QSize(0, 700 * dpi / 96)}) {
      SCOPED_TRACE(larger.height());
      main->resize(opening + larger);
      test::Settle(main);
      QStringList nested;
      test::VisitEveryPage(main, [&] {
        for (QAbstractScrollArea* inner : main->findChildren<QAbstractScrollArea*>()) {
          if (!inner->isVisibleTo(main) || inner->verticalScrollBar()->maximum() == 0) continue;
          if (qobject_cast<QComboBox*>(inner->parentWidget())) continue;
          const bool smallest = inner->minimumHeight() > 0 &&
                                inner->height() <= inner->minimumHeight() &&
                                (inner->sizePolicy().verticalPolicy() & QSizePolicy::GrowFlag);
          if (smallest) continue;
          for (QWidget* w = inner->parentWidget(); w && w != main; w = w->parentWidget()) {
            auto* outer = qobject_cast<QAbstractScrollArea*>(w);
            if (outer && outer->verticalScrollBar()->maximum() > 0)
              nested << outer->objectName() + QStringLiteral(" > ") + inner->objectName() +
                            QStringLiteral(" (") + QString::number(inner->height()) +
                            QStringLiteral(" px, smallest ") +
                            QString::number(inner->minimumHeight()) + QStringLiteral(")");
          }
        }
      });
      nested.removeDuplicates();
      EXPECT_TRUE(nested.isEmpty()) << nested.join(QLatin1Char('\n')).toStdString();

      // The macros page itself: at the opening size its lists show their fewest rows; in a
      // window with the room the column does not scroll and the lists take the room. Nothing is
      // squeezed or cut off either way.
      ShowPage(QStringLiteral("mouse"));
      mouse->SetFunctionView(kMacrosView);
      test::Settle(main);
      ASSERT_TRUE(macros->isVisibleTo(main));
      if (larger.isNull()) {
        for (const QListWidget* list : {names, events}) {
          EXPECT_EQ(list->height(), list->minimumHeight()) << list->objectName().toStdString();
          opening_height[list] = list->height();
        }
      } else {
        EXPECT_EQ(column->verticalScrollBar()->maximum(), 0);
        // The scroll bar goes once the events say so; the panel then takes its room as well.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !column->verticalScrollBar()->isVisible(); }, 2000));
        test::Settle(main);
        EXPECT_EQ(macros->height(), column->viewport()->height());
        EXPECT_EQ(macros->width(), column->viewport()->width());
        for (const QListWidget* list : {names, events})
          EXPECT_GT(list->height(), opening_height[list]) << list->objectName().toStdString();
      }
      for (const test::FitFault& fault : test::FindFitFaults(macros))
        ADD_FAILURE() << test::Describe(fault).toStdString();
    }
    main->resize(opening);
  }
}

// A panel built when its tab is first shown, after the window took its scale, has the window's
// scale: scaling the window again (from the layouts' own sizes) changes none of its sizes or fonts.
TEST_F(LayoutTest, APanelBuiltWhenFirstShownHasTheWindowsScale) {
  ASSERT_NO_FATAL_FAILURE(UseScale(144));
  DevicePage* mouse = ShowPage(QStringLiteral("mouse"));
  ASSERT_TRUE(mouse && mouse->Mouse());
  ASSERT_FALSE(mouse->Mouse()->Built(kSettingsView));
  mouse->SetFunctionView(kSettingsView);
  ASSERT_TRUE(mouse->Mouse()->Built(kSettingsView));
  QWidget* panel = FindControl(mouse, QStringLiteral("mouse_settings"));
  ASSERT_NE(panel, nullptr);
  using Sizes = std::vector<std::tuple<QString, QSize, QSize, int>>;
  const auto sizes = [&] {
    Sizes all;
    for (QWidget* widget : panel->findChildren<QWidget*>())
      all.emplace_back(widget->objectName(), widget->minimumSize(), widget->maximumSize(),
                       widget->font().pixelSize());
    return all;
  };
  const Sizes built = sizes();
  ASSERT_FALSE(built.empty());
  ApplyWindowScale(window_->Window(), 144);
  const Sizes again = sizes();
  ASSERT_EQ(again.size(), built.size());
  for (size_t i = 0; i < built.size(); ++i)
    EXPECT_EQ(again[i], built[i]) << std::get<0>(built[i]).toStdString();
}

TEST_F(LayoutTest, SecondaryWindowsTakeTheMainWindowsScale) {
  struct Look {
    QSize size;
    int font = 0;
  };
  // The window's size and the pixel size of its largest text.
  const auto look = [](QWidget* window) {
    Look seen{window->size(), 0};
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (!label->text().isEmpty())
        seen.font = std::max(seen.font, QFontInfo(label->font()).pixelSize());
    }
    return seen;
  };
  const auto open_all = [&] {
    std::map<std::string, Look> looks;
    window_->OnMenuChoice(QStringLiteral("setwnd_menu"));
    looks["settings"] = look(window_->SettingsWindow()->Window());
    window_->SettingsWindow()->Close();
    EXPECT_TRUE(test::WithModal([&] { window_->OnMenuChoice(QStringLiteral("about_menu")); },
                                [&](QDialog* d) { looks["about"] = look(d); }));
    DevicePage* mouse = PageOf("mouse");
    EXPECT_TRUE(test::WithModal([&] { mouse->ChooseColour(0xFF00FF00u, false, true); },
                                [&](QDialog* d) { looks["colour"] = look(d); }));
    return looks;
  };
  const std::map<std::string, Look> at_100 = open_all();
  dpi_ = 144;
  RestartWindow();
  ASSERT_TRUE(WaitShown(AllDevices(), 10000));
  const std::map<std::string, Look> at_150 = open_all();
  for (const auto& [name, small] : at_100) {
    SCOPED_TRACE(name);
    const Look& large = at_150.at(name);
    ASSERT_GT(small.font, 0);
    // Within 1 %: a window may grow a little past its layout's size to hold its texts.
    EXPECT_NEAR(large.size.width(), small.size.width() * 1.5, small.size.width() * 0.015);
    EXPECT_NEAR(large.size.height(), small.size.height() * 1.5, small.size.height() * 0.015);
    EXPECT_NEAR(large.font, small.font * 1.5, 1);
  }
}

TEST(TabStripTest, MoreTabsThanOneRowHoldsGoIntoTwoRows) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {4, 4}, {5, 3}, {6, 3}, {7, 4}};
  for (const auto& [tabs, columns] : cases) EXPECT_EQ(StripColumns(tabs), columns) << tabs;
}

}  // namespace
}  // namespace vorlin
