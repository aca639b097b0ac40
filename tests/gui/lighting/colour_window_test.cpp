// The colour window driven by its controls, as a user would: presets and collected colours into
// the palette, numbers and preview, typed numbers into the colour, the close codes, the
// multi-colour choice, the collection kept in the user's file, and the layout's texts.
#include "support/layout_text_keys.h"
#include "lighting/color_select_wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "shell/app_paths.h"
#include "ui/color_palette.h"
#include "ui/find_control.h"
#include "ui/language_file.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

namespace fs = std::filesystem;

const QString kSkin = QStringLiteral(VORLIN_SOURCE_DIR "/data/skin");
const fs::path kShippedFactory =
    fs::path(VORLIN_SOURCE_DIR) / "data" / "DefaultData" / "color_option_info.config";

// The shipped presets the tests pick.
constexpr QRgb kOrange = 0xFFFF8000;  // preset 1
constexpr QRgb kYellow = 0xFFFFFF00;  // preset 2

// Whether two colours differ by at most a few steps per channel. The palette keeps whole degrees
// of hue, so a colour put into it may come back slightly off (#1E90FF shows as #1E92FF); the
// window itself keeps and reports the exact colour.
bool Near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
         std::abs(a.blue() - b.blue()) <= 3;
}

class ColourWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(kSkin);
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    ASSERT_TRUE(dir_.isValid());
    user_file_ = fs::path(dir_.path().toStdString()) / "color_option_info.config";
  }
  void TearDown() override { SkinManager::Instance().SetSkinFolder(kSkin); }

  ColourOptionStore Store() const { return ColourOptionStore(user_file_, kShippedFactory); }

  // A window shown without blocking, starting with `colour`.
  std::unique_ptr<CColorSelectWnd> Open(QColor colour, bool multi_colour = false) {
    auto window = std::make_unique<CColorSelectWnd>(nullptr, Store());
    window->SetColour(colour, multi_colour);
    window->Show();
    return window;
  }

  template <typename T = QWidget>
  T* Control(const CColorSelectWnd& window, const QString& name) {
    T* control = FindControl<T>(window.Window(), name);
    EXPECT_NE(control, nullptr) << name.toStdString();
    return control;
  }
  void Click(const CColorSelectWnd& window, const QString& name) {
    if (auto* button = Control<QAbstractButton>(window, name)) button->click();
  }
  QStringList EditTexts(const CColorSelectWnd& window) {
    QStringList texts;
    for (const char* name : {"color_edit_r", "color_edit_g", "color_edit_b"}) {
      auto* edit = Control<QLineEdit>(window, QLatin1String(name));
      texts << (edit ? edit->text() : QString());
    }
    return texts;
  }
  // Types `text` over the edit's contents, as the user would.
  void Type(const CColorSelectWnd& window, const QString& edit_name, const QString& text) {
    auto* edit = Control<QLineEdit>(window, edit_name);
    if (!edit) return;
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }
  QImage Picture(const CColorSelectWnd& window, const QString& name) {
    QWidget* control = Control(window, name);
    return control ? control->grab().toImage() : QImage();
  }
  QColor PreviewCentre(const CColorSelectWnd& window) {
    const QImage image = Picture(window, QStringLiteral("color_show_btn"));
    return image.isNull() ? QColor() : image.pixelColor(image.rect().center());
  }
  bool IsCurrent(const CColorSelectWnd& window, const QString& swatch) {
    QWidget* control = Control(window, swatch);
    return control && control->property("current").toBool();
  }

  QTemporaryDir dir_;
  fs::path user_file_;
};

TEST_F(ColourWindowTest, ChoosingASwatchFillsPaletteNumbersAndPreview) {
  struct Case {
    const char* swatch;
    QRgb expected;
  };
  // The shipped collection starts with #FFFF4500 and #FF1E90FF.
  const Case cases[] = {{"color_option_1", kOrange},
                        {"color_option_12", 0xFFFFFFFF},
                        {"color_option_19", 0xFF008080},
                        {"collect_color_option_0", 0xFFFF4500},
                        {"collect_color_option_1", 0xFF1E90FF}};
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor(1, 2, 3));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swatch);
    Click(*window, QLatin1String(c.swatch));
    const QColor expected = QColor::fromRgb(c.expected);
    EXPECT_EQ(window->Colour(), expected);
    EXPECT_EQ(EditTexts(*window),
              (QStringList{QString::number(expected.red()), QString::number(expected.green()),
                           QString::number(expected.blue())}));
    auto* palette = Control<ColorPalette>(*window, QStringLiteral("color_pallet"));
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(Near(palette->Color(), expected)) << palette->Color().name().toStdString();
    EXPECT_EQ(PreviewCentre(*window), expected);
    EXPECT_TRUE(IsCurrent(*window, QLatin1String(c.swatch)));
  }
  // Only the last choice is marked.
  EXPECT_FALSE(IsCurrent(*window, QStringLiteral("color_option_1")));
  // An empty collected slot chooses nothing.
  Click(*window, QStringLiteral("collect_color_option_9"));
  EXPECT_EQ(window->Colour(), QColor::fromRgb(0xFF1E90FF));
}

TEST_F(ColourWindowTest, TypedNumbersChangeTheColourWithinTheirRange) {
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor(10, 20, 30));
  EXPECT_EQ(EditTexts(*window), (QStringList{"10", "20", "30"}));

  Type(*window, QStringLiteral("color_edit_g"), QStringLiteral("200"));
  EXPECT_EQ(window->Colour(), QColor(10, 200, 30));
  EXPECT_EQ(PreviewCentre(*window), QColor(10, 200, 30));
  auto* palette = Control<ColorPalette>(*window, QStringLiteral("color_pallet"));
  ASSERT_NE(palette, nullptr);
  EXPECT_TRUE(Near(palette->Color(), QColor(10, 200, 30)));

  // Too large counts as 255, empty as 0; the edit shows the number once the user leaves it.
  struct Case {
    const char* typed;
    int value;
    const char* shown;
  };
  const Case cases[] = {
      {"300", 255, "255"}, {"999", 255, "255"}, {"", 0, "0"}, {"007", 7, "7"}, {"a1b", 1, "1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(*window, QStringLiteral("color_edit_r"), QLatin1String(c.typed));
    EXPECT_EQ(window->Colour().red(), c.value);
    auto* edit = Control<QLineEdit>(*window, QStringLiteral("color_edit_r"));
    ASSERT_NE(edit, nullptr);
    SendNotification(edit, QLatin1String(notify::kKillFocus));
    EXPECT_EQ(edit->text(), QLatin1String(c.shown));
  }
  // Text that is no number (pasted past the edit's filter) counts as 0.
  auto* blue = Control<QLineEdit>(*window, QStringLiteral("color_edit_b"));
  ASSERT_NE(blue, nullptr);
  blue->setText(QStringLiteral("abc"));
  SendNotification(blue, QLatin1String(notify::kTextChanged));
  EXPECT_EQ(window->Colour().blue(), 0);

  // Numbers that make a preset mark it.
  Type(*window, QStringLiteral("color_edit_r"), QStringLiteral("255"));
  Type(*window, QStringLiteral("color_edit_g"), QStringLiteral("128"));
  Type(*window, QStringLiteral("color_edit_b"), QStringLiteral("0"));
  EXPECT_TRUE(IsCurrent(*window, QStringLiteral("color_option_1")));
}

TEST_F(ColourWindowTest, PickingInThePaletteShowsTheNumbers) {
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor::fromRgb(kYellow));
  auto* palette = Control<ColorPalette>(*window, QStringLiteral("color_pallet"));
  ASSERT_NE(palette, nullptr);
  const QRect field = palette->FieldRect();
  QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(field.width() * 2 / 3, field.height() / 3));
  const QColor picked = palette->Color();
  EXPECT_NE(picked, QColor::fromRgb(kYellow));
  EXPECT_EQ(window->Colour(), picked);
  EXPECT_EQ(EditTexts(*window),
            (QStringList{QString::number(picked.red()), QString::number(picked.green()),
                         QString::number(picked.blue())}));
  EXPECT_EQ(PreviewCentre(*window), picked);
  EXPECT_FALSE(IsCurrent(*window, QStringLiteral("color_option_2")));
}

TEST_F(ColourWindowTest, EveryWayOfClosingGivesItsCode) {
  struct Case {
    const char* how;
    std::function<void(CColorSelectWnd&)> close;
    int code;
  };
  const Case cases[] = {
      {"okbtn", [this](CColorSelectWnd& w) { Click(w, QStringLiteral("okbtn")); }, 1},
      {"closebtn", [this](CColorSelectWnd& w) { Click(w, QStringLiteral("closebtn")); }, 0},
      {"cancel_btn", [this](CColorSelectWnd& w) { Click(w, QStringLiteral("cancel_btn")); }, 0},
      {"Escape", [](CColorSelectWnd& w) { QTest::keyClick(w.Window(), Qt::Key_Escape); }, 0},
      {"window closed", [](CColorSelectWnd& w) { w.Window()->close(); }, 0},
      {"Return in an edit",
       [this](CColorSelectWnd& w) {
         if (auto* edit = Control<QLineEdit>(w, QStringLiteral("color_edit_b"))) {
           QTest::keyClick(edit, Qt::Key_Return);
         }
       },
       1},
      {"okbtn without a palette",
       [this](CColorSelectWnd& w) {
         delete Control<ColorPalette>(w, QStringLiteral("color_pallet"));
         Click(w, QStringLiteral("okbtn"));
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    const std::unique_ptr<CColorSelectWnd> window = Open(QColor(40, 50, 60));
    Click(*window, QStringLiteral("color_option_1"));
    c.close(*window);
    EXPECT_FALSE(window->Window()->isVisible());
    const ColorSelectResult result = window->Result();
    EXPECT_EQ(result.code, c.code);
    if (c.code == 1) {
      EXPECT_EQ(result.colour, QColor::fromRgb(kOrange));
    }
    EXPECT_FALSE(result.multi_colour);
  }
}

TEST_F(ColourWindowTest, MultiColourShowsTheSpectrumAndIsReported) {
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor(40, 50, 60), true);
  auto* multi = Control<QAbstractButton>(*window, QStringLiteral("7color"));
  auto* multi_collect = Control<QAbstractButton>(*window, QStringLiteral("7color_collect"));
  auto* hex = Control<QLabel>(*window, QStringLiteral("color_hex_label"));
  ASSERT_TRUE(multi && multi_collect && hex);
  const auto shows_spectrum = [&] {
    const QImage preview = Picture(*window, QStringLiteral("color_show_btn"));
    const int y = preview.height() / 2;
    const QColor left = preview.pixelColor(preview.width() / 4, y);
    const QColor right = preview.pixelColor(preview.width() * 3 / 4, y);
    return std::abs(left.hsvHue() - right.hsvHue()) > 60 && left.hsvSaturation() > 100;
  };
  EXPECT_TRUE(window->MultiColour());
  EXPECT_TRUE(multi->isChecked());
  EXPECT_TRUE(multi_collect->isChecked());
  EXPECT_TRUE(shows_spectrum());
  EXPECT_EQ(hex->text(), QStringLiteral("Multi-colour"));

  // A colour ends it; either option starts it again, and both show it.
  Click(*window, QStringLiteral("color_option_2"));
  EXPECT_FALSE(window->MultiColour());
  EXPECT_FALSE(multi->isChecked() || multi_collect->isChecked());
  EXPECT_FALSE(shows_spectrum());
  EXPECT_EQ(PreviewCentre(*window), QColor::fromRgb(kYellow));
  EXPECT_EQ(hex->text(), QStringLiteral("#FFFF00"));

  multi_collect->click();
  EXPECT_TRUE(window->MultiColour());
  EXPECT_TRUE(multi->isChecked());
  EXPECT_FALSE(IsCurrent(*window, QStringLiteral("color_option_2")));
  EXPECT_TRUE(shows_spectrum());
  // Unchecking goes back to the colour.
  multi->click();
  EXPECT_FALSE(window->MultiColour());
  EXPECT_EQ(PreviewCentre(*window), QColor::fromRgb(kYellow));
  EXPECT_TRUE(IsCurrent(*window, QStringLiteral("color_option_2")));

  multi->click();
  Click(*window, QStringLiteral("okbtn"));
  const ColorSelectResult result = window->Result();
  EXPECT_EQ(result.code, 1);
  EXPECT_TRUE(result.multi_colour);
}

TEST_F(ColourWindowTest, OpensWithTheMatchingSwatchMarked) {
  const std::unique_ptr<CColorSelectWnd> preset = Open(QColor::fromRgb(kYellow));
  EXPECT_TRUE(IsCurrent(*preset, QStringLiteral("color_option_2")));
  const std::unique_ptr<CColorSelectWnd> collected = Open(QColor::fromRgb(0xFF1E90FF));
  EXPECT_TRUE(IsCurrent(*collected, QStringLiteral("collect_color_option_1")));
  auto* remove = Control(*collected, QStringLiteral("collect_color_remove"));
  ASSERT_NE(remove, nullptr);
  EXPECT_TRUE(remove->isEnabled());
  const std::unique_ptr<CColorSelectWnd> other = Open(QColor(1, 2, 3));
  for (int i = 0; i < kPresetColourCount; ++i) {
    EXPECT_FALSE(IsCurrent(*other, QStringLiteral("color_option_%1").arg(i))) << i;
  }
  EXPECT_FALSE(Control(*other, QStringLiteral("collect_color_remove"))->isEnabled());
}

TEST_F(ColourWindowTest, CollectionGrowsShrinksAndIsKept) {
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor(10, 20, 30));
  const size_t shipped = window->Options().collected.size();
  ASSERT_LT(shipped, static_cast<size_t>(kCollectedColourLimit));
  const QString new_slot = QStringLiteral("collect_color_option_%1").arg(shipped);
  EXPECT_FALSE(Control(*window, new_slot)->isEnabled());

  Click(*window, QStringLiteral("collect_color_add"));
  ASSERT_EQ(window->Options().collected.size(), shipped + 1);
  EXPECT_TRUE(Control(*window, new_slot)->isEnabled());
  EXPECT_TRUE(IsCurrent(*window, new_slot));
  const QImage swatch = Picture(*window, new_slot);
  EXPECT_EQ(swatch.pixelColor(swatch.rect().center()), QColor(10, 20, 30));
  ColourOptions on_disk = Store().Load();
  ASSERT_EQ(on_disk.collected.size(), shipped + 1);
  EXPECT_EQ(on_disk.collected.back().argb, 0xFF0A141Eu);
  EXPECT_EQ(on_disk.collected.back().user_data, "#FF0A141E");

  // Adding it again only selects it.
  Click(*window, QStringLiteral("color_option_0"));
  Click(*window, new_slot);
  Click(*window, QStringLiteral("collect_color_add"));
  EXPECT_EQ(window->Options().collected.size(), shipped + 1);

  // The first collected colour goes; the rest move up; the file follows even when cancelled.
  Click(*window, QStringLiteral("collect_color_option_0"));
  Click(*window, QStringLiteral("collect_color_remove"));
  EXPECT_EQ(window->Options().collected.size(), shipped);
  EXPECT_FALSE(Control(*window, QStringLiteral("collect_color_remove"))->isEnabled());
  EXPECT_FALSE(Control(*window, new_slot)->isEnabled());
  Click(*window, QStringLiteral("closebtn"));
  on_disk = Store().Load();
  EXPECT_EQ(on_disk.collected, window->Options().collected);
  EXPECT_EQ(on_disk.collected.front().argb, 0xFF1E90FFu);
}

TEST_F(ColourWindowTest, AFullCollectionOrAFailedSaveIsShown) {
  ColourOptions full = Store().Load();
  while (AddCollectedColour(full, 0xFF000000u + full.collected.size())) {
  }
  ASSERT_TRUE(Store().Save(full));
  const std::unique_ptr<CColorSelectWnd> window = Open(QColor(99, 98, 97));
  auto* status = Control<QLabel>(*window, QStringLiteral("color_status_label"));
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(status->isVisible());
  Click(*window, QStringLiteral("collect_color_add"));
  EXPECT_EQ(window->Options().collected.size(), static_cast<size_t>(kCollectedColourLimit));
  EXPECT_TRUE(status->isVisible());
  EXPECT_EQ(status->text(), Translator::Instance().Text(QStringLiteral("color_collect_full_text")));
  // Making room and adding clears the notice.
  Click(*window, QStringLiteral("collect_color_option_0"));
  Click(*window, QStringLiteral("collect_color_remove"));
  window->SetColour(QColor(99, 98, 97), false);
  Click(*window, QStringLiteral("collect_color_add"));
  EXPECT_FALSE(status->isVisible());
  EXPECT_EQ(Store().Load().collected.back().argb, 0xFF636261u);

  // A user folder that cannot be written: the colour is collected for now, and the user told.
  const fs::path blocked = fs::path(dir_.path().toStdString()) / "blocked";
  std::ofstream(blocked) << "a file";
  CColorSelectWnd unsaved(nullptr,
                          ColourOptionStore(blocked / "color_option_info.config", kShippedFactory));
  unsaved.SetColour(QColor(5, 6, 7), false);
  unsaved.Show();
  Click(unsaved, QStringLiteral("collect_color_add"));
  EXPECT_EQ(unsaved.Options().collected.back().argb, 0xFF050607u);
  auto* unsaved_status = Control<QLabel>(unsaved, QStringLiteral("color_status_label"));
  ASSERT_NE(unsaved_status, nullptr);
  EXPECT_EQ(unsaved_status->text(), QStringLiteral("My colours could not be saved."));
  EXPECT_TRUE(unsaved_status->isVisible());
}

TEST_F(ColourWindowTest, TheLastChoiceIsRememberedOnlyWhenConfirmed) {
  {
    const std::unique_ptr<CColorSelectWnd> window = Open(QColor(1, 2, 3));
    Click(*window, QStringLiteral("collect_color_option_1"));
    Click(*window, QStringLiteral("color_option_5"));
    Click(*window, QStringLiteral("okbtn"));
  }
  EXPECT_EQ(Store().Load().selected_preset, 5);
  EXPECT_EQ(Store().Load().selected_collected, 1);
  {
    const std::unique_ptr<CColorSelectWnd> window = Open(QColor(1, 2, 3));
    Click(*window, QStringLiteral("color_option_6"));
    Click(*window, QStringLiteral("closebtn"));
  }
  EXPECT_EQ(Store().Load().selected_preset, 5);
}

TEST_F(ColourWindowTest, RunsModallyWithTheProgramsFiles) {
  // The user data folder is the test's private one (see test_main.cpp).
  const fs::path user_file = UserDataPath(QStringLiteral("color_option_info.config")).toStdString();
  fs::remove(user_file);
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (auto* preset = FindControl<QAbstractButton>(modal, QStringLiteral("color_option_2")))
      preset->click();
    if (auto* ok = FindControl<QAbstractButton>(modal, QStringLiteral("okbtn"))) ok->click();
    if (modal->isVisible()) qobject_cast<QDialog*>(modal)->done(-1);
  });
  const ColorSelectResult result = CColorSelectWnd::SelectColour(nullptr, QColor(1, 2, 3), false);
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.colour, QColor::fromRgb(kYellow));
  EXPECT_FALSE(result.multi_colour);
  EXPECT_TRUE(fs::exists(user_file));  // seeded from DefaultData on first use
  EXPECT_EQ(ColourOptionStore(user_file, kShippedFactory).Load().selected_preset, 2);
}

TEST_F(ColourWindowTest, WithoutItsLayoutTheWindowChoosesNothing) {
  QTemporaryDir empty_skin;
  SkinManager::Instance().SetSkinFolder(empty_skin.path());
  CColorSelectWnd window(nullptr, Store());
  EXPECT_EQ(window.Window(), nullptr);
  window.SetColour(QColor(1, 2, 3), true);
  window.SetDpi(144);
  EXPECT_EQ(window.Exec().code, 0);  // returns at once
}

TEST_F(ColourWindowTest, EverythingFitsAtOneAndAHalfScale) {
  for (int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    CColorSelectWnd window(nullptr, Store());
    window.SetColour(QColor(200, 100, 50), false);
    window.SetDpi(dpi);
    window.Show();
    QDialog* dialog = window.Window();
    QApplication::processEvents();
    const int swatch = 26 * dpi / 96;
    // The swatches show their colours after scaling.
    Click(window, QStringLiteral("color_option_3"));
    EXPECT_EQ(PreviewCentre(window), QColor(0x80, 0xFF, 0x00));
    const QImage preset = Picture(window, QStringLiteral("color_option_8"));
    EXPECT_EQ(preset.pixelColor(preset.rect().center()), QColor(0, 0, 255));

    // Every swatch keeps its size whatever its state (plain, chosen, empty, multi-colour).
    const auto sizes_hold = [&] {
      for (const char* name : {"color_option_0", "color_option_3", "collect_color_option_0",
                               "collect_color_option_9", "7color_collect"}) {
        EXPECT_EQ(Control(window, QLatin1String(name))->size(), QSize(swatch, swatch)) << name;
      }
      EXPECT_EQ(Control(window, QStringLiteral("7color"))->size(), QSize(swatch, 60 * dpi / 96));
      EXPECT_EQ(Control(window, QStringLiteral("color_show_btn"))->size(),
                QSize(172 * dpi / 96, 64 * dpi / 96));
    };
    sizes_hold();
    Click(window, QStringLiteral("7color"));
    sizes_hold();
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
      if (!control->isVisible() || control->objectName().isEmpty()) continue;
      const QRect area(control->mapTo(dialog, QPoint(0, 0)), control->size());
      EXPECT_TRUE(dialog->rect().contains(area))
          << control->objectName().toStdString() << " lies outside the window";
    }
  }
}

TEST(ColourWindowTextsTest, EveryTextOfTheWindowIsInBothLanguages) {
  std::optional<QSet<QString>> keys = test::LayoutTextKeys(kSkin + QStringLiteral("/PalletDialog.xml"));
  ASSERT_TRUE(keys.has_value());
  // The texts the window sets itself.
  *keys << QStringLiteral("color_select_title_text") << QStringLiteral("color_multi_text")
        << QStringLiteral("color_collect_full_text")
        << QStringLiteral("color_collect_save_failed_text");
  ASSERT_GE(keys->size(), 15);
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    const std::optional<QStringList> missing =
        test::KeysWithoutText(kSkin + QLatin1Char('/') + QLatin1String(file), *keys);
    ASSERT_TRUE(missing.has_value()) << file;
    EXPECT_TRUE(missing->isEmpty()) << file << " lacks " << missing->join(' ').toStdString();
  }
}

TEST(ColourWindowLayoutTest, HasEveryControlTheWindowUses) {
  SkinManager::Instance().SetSkinFolder(kSkin);
  QTemporaryDir dir;
  CColorSelectWnd window(
      nullptr,
      ColourOptionStore(dir.filePath(QStringLiteral("c.config")).toStdString(), kShippedFactory));
  ASSERT_NE(window.Window(), nullptr);
  QStringList names = {"color_pallet",      "color_edit_r",
                       "color_edit_g",      "color_edit_b",
                       "color_show_btn",    "7color",
                       "7color_collect",    "okbtn",
                       "closebtn",          "cancel_btn",
                       "collect_color_add", "collect_color_remove",
                       "color_hex_label",   "color_status_label"};
  for (int i = 0; i < kPresetColourCount; ++i) names << QStringLiteral("color_option_%1").arg(i);
  for (int i = 0; i < kCollectedColourLimit; ++i)
    names << QStringLiteral("collect_color_option_%1").arg(i);
  for (const QString& name : names) {
    EXPECT_NE(FindControl(window.Window(), name), nullptr) << name.toStdString();
  }
  EXPECT_EQ(FindControl(window.Window(),
                        QStringLiteral("collect_color_option_%1").arg(kCollectedColourLimit)),
            nullptr);
  EXPECT_FALSE(SkinManager::Instance().FindFile(QStringLiteral("common/base1.png")).isEmpty());
}

}  // namespace
}  // namespace vorlin
