// The DPI stage rows driven as the user drives them: what the rows show for the profile, what
// the slider, edit, current-stage, enable and colour controls store, and that nothing is written
// from an unknown scale.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>

#include "gui/mouse_settings/mouse_settings_test_support.h"
#include "mouse_settings/dpi_codes.h"
#include "mouse_settings/stage_colour_button.h"
#include "ui/controls.h"
#include "ui/field_notice.h"
#include "ui/notification.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

using testing::Calls;
using testing::kStoredStagesAndWritten;
using testing::Stage;

class DpiStageRowsTest : public testing::MouseSettingsFixture {
 protected:
  void SetUp() override {
    MouseSettingsFixture::SetUp();
    // Step 50, base 50: code c shows 50 (c + 1).
    host_.stages = {Stage(1, 7, 0xFF0000),  Stage(1, 15, 0x00FF00),  Stage(0, 31, 0x0000FF),
                    Stage(1, 63, 0x112233), Stage(1, 127, 0x445566), Stage(1, 255, 0x778899)};
    host_.current = 1;
    Refresh();
  }

  QSlider* Slider(int stage) const { return Row<QSlider>("DPI_slider_", stage); }
  QLineEdit* Edit(int stage) const { return Row<QLineEdit>("DPI_edit_", stage); }
  QAbstractButton* EnableOption(int stage) const {
    return Row<QAbstractButton>("DPI_enable_check_", stage);
  }
  QAbstractButton* SelectOption(int stage) const {
    return Row<QAbstractButton>("DPI_select_check_", stage);
  }
  QWidget* Layout(int stage) const { return Row("DPI_layout_", stage); }
  QWidget* Swatch(int stage) const { return Row("DPI_color_option_", stage); }

  // The user lets go of slider `stage` at `value`.
  void ReleaseSlider(int stage, int value) {
    Slider(stage)->setValue(value);
    SendNotification(Slider(stage), QString::fromLatin1(notify::kValueChanged));
  }
  // The user types `text` into edit `stage` and leaves it.
  void TypeAndLeave(int stage, const QString& text) {
    Edit(stage)->setText(text);
    SendNotification(Edit(stage), QString::fromLatin1(notify::kKillFocus));
  }

  // Which select options are checked, which enable options are usable, which sliders look current.
  std::vector<int> Checked(const char* prefix) const {
    std::vector<int> out;
    for (int i = 0; i < kDpiStageRows; ++i)
      if (IsSelected(Row<QAbstractButton>(prefix, i))) out.push_back(i);
    return out;
  }
  std::vector<int> UsableEnableOptions() const {
    std::vector<int> out;
    for (int i = 0; i < kDpiStageRows; ++i)
      if (EnableOption(i)->isEnabled()) out.push_back(i);
    return out;
  }
  std::vector<int> CurrentLooking() const {
    std::vector<int> out;
    for (int i = 0; i < kDpiStageRows; ++i)
      if (Slider(i)->property("stage").toString() == QLatin1String("current")) out.push_back(i);
    return out;
  }
};

TEST_F(DpiStageRowsTest, RefreshShowsEveryStage) {
  const int shown[] = {400, 800, 1600, 3200, 6400, 12800};
  for (int i = 0; i < kDpiStageRows; ++i) {
    EXPECT_EQ(Edit(i)->text(), QString::number(shown[i])) << i;
    EXPECT_EQ(Slider(i)->value(), shown[i]) << i;
    EXPECT_EQ(Slider(i)->minimum(), 100);
    EXPECT_EQ(Slider(i)->maximum(), 26000);
  }
  EXPECT_EQ(SwatchColour(Swatch(0)), 0xFFFF0000u);
  EXPECT_EQ(SwatchColour(Swatch(4)), 0xFF445566u);
  // Stage 2 is off: its enable option is clear and the rest of its row unusable.
  EXPECT_FALSE(IsSelected(EnableOption(2)));
  EXPECT_FALSE(Layout(2)->isEnabled());
  EXPECT_TRUE(Layout(3)->isEnabled());
  // Stage 1 is current.
  EXPECT_EQ(Checked("DPI_select_check_"), std::vector<int>({1}));
  EXPECT_EQ(UsableEnableOptions(), std::vector<int>({0, 2, 3, 4, 5}));
  EXPECT_EQ(CurrentLooking(), std::vector<int>({1}));
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(DpiStageRowsTest, ReleasedSliderStoresTheCodeAndWrites) {
  ReleaseSlider(3, 1620);  // code (1620 - 50) / 50 = 31, shown as 1600
  EXPECT_EQ(router_.handled, QStringList({"valuechanged:DPI_slider_3"}));
  EXPECT_EQ(host_.calls, kStoredStagesAndWritten);
  EXPECT_EQ(host_.stages[3].dpi_x, 31);
  EXPECT_EQ(host_.stages[3].dpi_y, 63) << "the Y code stays as read";
  EXPECT_EQ(Edit(3)->text(), "1600");
  EXPECT_EQ(Slider(3)->value(), 1600);
}

TEST_F(DpiStageRowsTest, DraggedSliderOnlyShows) {
  Slider(4)->setValue(2040);
  SendNotification(Slider(4), QString::fromLatin1(notify::kMoveValueChanged));
  EXPECT_EQ(Edit(4)->text(), "2000");
  EXPECT_EQ(Slider(4)->value(), 2000);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(host_.stages[4].dpi_x, 127);
}

TEST_F(DpiStageRowsTest, EditStoresWhatItReadsAndSaysWhatItRoundedOrRefused) {
  // The notices in English; the other tests of this program see the keys again afterwards.
  struct NoLanguageAfter {
    ~NoLanguageAfter() { Translator::Instance().SetLanguage({}); }
  } no_language_after;
  ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
  const QString range = QStringLiteral("DPI must be between 100 and 26000");
  struct Case {
    const char* text;
    QString shown;
    int code;  // -1: refused, nothing stored or written
    QString notice;
  };
  // Stage 5 starts at code 255 (12800 DPI); each case leaves the row as the next one finds it.
  const Case cases[] = {
      {"abc", "12800", -1, range},
      {"", "12800", -1, range},
      {"26001", "12800", -1, range},
      {"-800", "12800", -1, range},
      {"1,600", "12800", -1, range},
      {" 3200", "3200", 63, QString()},
      {"1620", "1600", 31, QStringLiteral("Rounded to 1600 DPI (steps of 50)")},
      {"149", "150", 2, QStringLiteral("Rounded to 150 DPI (steps of 50)")},
      {"26000", "26000", 519, QString()},
  };
  for (const Case& c : cases) {
    host_.calls.clear();
    const int code_before = host_.stages[5].dpi_x;
    TypeAndLeave(5, QString::fromLatin1(c.text));
    EXPECT_EQ(Edit(5)->text(), c.shown) << c.text;
    EXPECT_EQ(Slider(5)->value(), c.shown.toInt()) << c.text;
    EXPECT_EQ(host_.stages[5].dpi_x, c.code < 0 ? code_before : c.code) << c.text;
    EXPECT_EQ(host_.calls, c.code < 0 ? Calls{} : kStoredStagesAndWritten) << c.text;
    EXPECT_EQ(FieldNotice(Edit(5)), c.notice) << c.text;
  }
  // Enter does the same as leaving the edit.
  Edit(0)->setText(QStringLiteral("1000"));
  SendNotification(Edit(0), QString::fromLatin1(notify::kReturn));
  EXPECT_EQ(host_.stages[0].dpi_x, 19);
}

TEST_F(DpiStageRowsTest, StagesTheProfileLacksAreAddedFromTheirRows) {
  host_.stages.resize(2);
  Refresh();
  // Rows 2 to 5 still show what they showed: row 2 is off, 1600 DPI, blue.
  Click(EnableOption(2));
  ASSERT_EQ(host_.stages.size(), 3u);
  EXPECT_EQ(host_.calls, kStoredStagesAndWritten);
  EXPECT_EQ(host_.stages[2], Stage(1, 31, 0x0000FF));

  TypeAndLeave(4, QStringLiteral("5000"));  // code 99
  ASSERT_EQ(host_.stages.size(), 5u);
  EXPECT_EQ(host_.stages[3], Stage(1, 63, 0x112233));
  EXPECT_EQ(host_.stages[4], Stage(1, 99, 0x445566));
  // The stages the profile held are untouched.
  EXPECT_EQ(host_.stages[0], Stage(1, 7, 0xFF0000));
  EXPECT_EQ(host_.stages[1], Stage(1, 15, 0x00FF00));
}

TEST_F(DpiStageRowsTest, SelectingAStageMarksOnlyItAndFillsTheList) {
  host_.stages = {Stage(1, 0), Stage(1, 15)};  // code 0 shows 50, below the slider's range
  Refresh();
  Click(SelectOption(3));
  EXPECT_EQ(host_.calls,
            Calls({"StoreCurrentDpiStage(3)", "StoreDpiStages", "CommitSettings(write)"}));
  EXPECT_EQ(host_.current, 3);
  EXPECT_EQ(host_.stages.size(), 6u);
  EXPECT_EQ(Checked("DPI_select_check_"), std::vector<int>({3}));
  EXPECT_FALSE(EnableOption(3)->isEnabled());
  EXPECT_TRUE(EnableOption(1)->isEnabled());
  EXPECT_EQ(CurrentLooking(), std::vector<int>({3}));
  // Selecting re-shows the rows but never changes a stored code.
  EXPECT_EQ(host_.stages[0].dpi_x, 0);
  EXPECT_EQ(host_.stages[1].dpi_x, 15);
  EXPECT_EQ(Edit(0)->text(), "50");

  // Clicking the current stage's option again keeps it current.
  host_.calls.clear();
  Click(SelectOption(3));
  EXPECT_EQ(Checked("DPI_select_check_"), std::vector<int>({3}));
  EXPECT_EQ(host_.current, 3);
}

TEST_F(DpiStageRowsTest, SelectingASwitchedOffStageSwitchesItOn) {
  Send(SelectOption(2), notify::kSelectChanged);
  EXPECT_EQ(host_.current, 2);
  EXPECT_EQ(host_.stages[2].active, 1);
  EXPECT_TRUE(IsSelected(EnableOption(2)));
  EXPECT_TRUE(Layout(2)->isEnabled());
  EXPECT_FALSE(EnableOption(2)->isEnabled());
}

TEST_F(DpiStageRowsTest, EnableOptionFollowsTheStageAndKeepsOneOn) {
  Click(EnableOption(4));
  EXPECT_EQ(host_.calls, kStoredStagesAndWritten);
  EXPECT_EQ(host_.stages[4].active, 0);
  EXPECT_FALSE(Layout(4)->isEnabled());
  Click(EnableOption(4));
  EXPECT_EQ(host_.stages[4].active, 1);
  EXPECT_TRUE(Layout(4)->isEnabled());

  // The current stage's option cannot be clicked.
  host_.calls.clear();
  Click(EnableOption(1));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(host_.stages[1].active, 1);
  // Nor switched off by a notification that gets past the unusable control.
  EnableOption(1)->setEnabled(true);
  SetSelected(EnableOption(1), false, false);
  EXPECT_TRUE(Send(EnableOption(1), notify::kSelectChanged));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_TRUE(IsSelected(EnableOption(1)));
  EXPECT_FALSE(EnableOption(1)->isEnabled());
}

TEST_F(DpiStageRowsTest, TheLastEnabledStageCannotBeSwitchedOff) {
  // A profile whose current stage is off: only the "last one" rule keeps a stage on.
  host_.stages = {Stage(1, 7),  Stage(1, 15),  Stage(0, 31),
                  Stage(0, 63), Stage(0, 127), Stage(0, 255)};
  host_.current = 2;
  Refresh();
  EXPECT_EQ(UsableEnableOptions(), std::vector<int>({0, 1, 3, 4, 5}));
  Click(EnableOption(1));
  EXPECT_EQ(host_.stages[1].active, 0);
  EXPECT_EQ(UsableEnableOptions(), std::vector<int>({1, 3, 4, 5}));
  EXPECT_TRUE(IsSelected(EnableOption(0)));
  host_.calls.clear();
  Click(EnableOption(0));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(host_.stages[0].active, 1);
  // Nor by a notification that gets past the unusable control.
  EnableOption(0)->setEnabled(true);
  SetSelected(EnableOption(0), false, false);
  EXPECT_TRUE(Send(EnableOption(0), notify::kSelectChanged));
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(host_.stages[0].active, 1);
  // Switching another stage on frees the last one again.
  Click(EnableOption(5));
  EXPECT_EQ(host_.stages[5].active, 1);
  EXPECT_EQ(UsableEnableOptions(), std::vector<int>({0, 1, 3, 4, 5}));
}

TEST_F(DpiStageRowsTest, ColourComesFromTheColourWindow) {
  host_.chosen_colour = 0x00123456;  // the window's alpha does not matter
  Click(qobject_cast<QAbstractButton*>(Swatch(3)));
  EXPECT_EQ(host_.offered_colours, std::vector<uint32_t>({0xFF112233u}));
  EXPECT_EQ(host_.calls, Calls({"ChooseColour", "StoreDpiStages", "CommitSettings(write)"}));
  EXPECT_EQ(SwatchColour(Swatch(3)), 0xFF123456u);
  EXPECT_EQ(host_.stages[3], Stage(1, 63, 0x123456));

  host_.calls.clear();
  host_.chosen_colour.reset();
  Click(qobject_cast<QAbstractButton*>(Swatch(3)));
  EXPECT_EQ(host_.calls, Calls({"ChooseColour"}));
  EXPECT_EQ(SwatchColour(Swatch(3)), 0xFF123456u);
  EXPECT_EQ(host_.stages[3], Stage(1, 63, 0x123456));
}

TEST_F(DpiStageRowsTest, OneColourWindowAtATime) {
  host_.chosen_colour = 0xFFABCDEF;
  int nested = 0;
  host_.while_choosing = [&] {
    // A second click while the window is open (once, so that a missing guard cannot recurse).
    if (++nested == 1) {
      EXPECT_TRUE(Send(Swatch(4), notify::kClick));
    }
  };
  Send(Swatch(0), notify::kClick);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(host_.offered_colours.size(), 1u);
  EXPECT_EQ(SwatchColour(Swatch(0)), 0xFFABCDEFu);
  EXPECT_EQ(SwatchColour(Swatch(4)), 0xFF445566u);
  // Once it has closed, the next click opens it again.
  host_.while_choosing = nullptr;
  Send(Swatch(4), notify::kClick);
  EXPECT_EQ(host_.offered_colours.size(), 2u);
}

TEST_F(DpiStageRowsTest, ColourForAStageTheProfileLacksAddsIt) {
  host_.stages.resize(1);
  Refresh();
  host_.chosen_colour = 0xFF010203;
  Send(Swatch(2), notify::kClick);
  ASSERT_EQ(host_.stages.size(), 3u);
  EXPECT_EQ(host_.stages[2].red, 1);
  EXPECT_EQ(host_.stages[2].blue, 3);
}

TEST_F(DpiStageRowsTest, UnknownScaleShowsNothingAndStoresNoCode) {
  host_.info.assign(34, 0);
  Refresh();
  for (int i = 0; i < kDpiStageRows; ++i) {
    EXPECT_FALSE(Slider(i)->isEnabled()) << i;
    EXPECT_FALSE(Edit(i)->isEnabled()) << i;
    EXPECT_TRUE(Edit(i)->text().isEmpty()) << i;
  }
  const std::vector<DpiStage> before = host_.stages;
  Slider(0)->setValue(5000);
  EXPECT_TRUE(Send(Slider(0), notify::kValueChanged));
  EXPECT_TRUE(Send(Slider(0), notify::kMoveValueChanged));
  Edit(0)->setText(QStringLiteral("5000"));
  EXPECT_TRUE(Send(Edit(0), notify::kKillFocus));
  EXPECT_TRUE(host_.calls.empty());
  // Selecting a stage still works and keeps every code.
  Send(SelectOption(4), notify::kSelectChanged);
  EXPECT_EQ(host_.current, 4);
  ASSERT_EQ(host_.stages.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(host_.stages[i].dpi_x, before[i].dpi_x);

  // A profile with fewer stages: no stage is made up from a row without a scale.
  host_.stages.resize(2);
  host_.current = 0;
  Refresh();
  host_.calls.clear();
  Send(SelectOption(3), notify::kSelectChanged);
  EnableOption(4)->setEnabled(true);
  SetSelected(EnableOption(4), false, false);
  Send(EnableOption(4), notify::kSelectChanged);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(host_.stages.size(), 2u);
  EXPECT_EQ(host_.current, 0);
}

TEST_F(DpiStageRowsTest, TwoSlopeSensorRowsRoundTrip) {
  host_.info = testing::DeviceInfoWith(100, 100, kTwoSlopeSensor);
  host_.stages = {Stage(1, 48), Stage(1, 49), Stage(1, 153), Stage(1, 1), Stage(1, 2), Stage(1, 3)};
  Refresh();
  EXPECT_EQ(Edit(0)->text(), "4900");
  EXPECT_EQ(Edit(1)->text(), "5100");
  EXPECT_EQ(Edit(2)->text(), "25900");
  // Leaving each edit as shown, and letting go of each slider where it is, keeps every code.
  for (int i = 0; i < 3; ++i) {
    SendNotification(Edit(i), QString::fromLatin1(notify::kKillFocus));
    SendNotification(Slider(i), QString::fromLatin1(notify::kValueChanged));
  }
  EXPECT_EQ(host_.stages[0].dpi_x, 48);
  EXPECT_EQ(host_.stages[1].dpi_x, 49);
  EXPECT_EQ(host_.stages[2].dpi_x, 153);
}

}  // namespace
}  // namespace vorlin
