#include "lighting/color_select_wnd.h"

#include <algorithm>
#include <utility>

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include "platform/log.h"
#include "shell/app_paths.h"
#include "shell/layout_window.h"
#include "ui/color_palette.h"
#include "ui/control_number.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "PalletDialog.xml";
constexpr char kPalette[] = "color_pallet";
constexpr char kPreview[] = "color_show_btn";
constexpr char kHexLabel[] = "color_hex_label";
constexpr char kStatusLabel[] = "color_status_label";
constexpr char kPresetPrefix[] = "color_option_";
constexpr char kCollectedPrefix[] = "collect_color_option_";
constexpr char kMultiColour[] = "7color";
constexpr char kMultiColourCollect[] = "7color_collect";
constexpr char kAddButton[] = "collect_color_add";
constexpr char kRemoveButton[] = "collect_color_remove";
constexpr char kMultiColourImage[] = "common/base1.png";
// Marks the swatch of the current choice; the layout's stylesheet draws it.
constexpr char kCurrentProperty[] = "current";

const char* const kEdits[] = {"color_edit_r", "color_edit_g", "color_edit_b"};

bool IsType(const Notification& notification, const char* type) {
  return notification.Is(QString::fromLatin1(type));
}

QString RgbText(QRgb rgb) {
  return QColor::fromRgb(rgb).name(QColor::HexRgb).toUpper();
}

QString FillStyle(QRgb rgb) {
  return QStringLiteral("background-color: %1;").arg(RgbText(rgb));
}

void SetStyle(QWidget* widget, const QString& style) {
  if (widget && widget->styleSheet() != style) widget->setStyleSheet(style);
}

void SetCurrentMark(QWidget* swatch, bool current) {
  if (!swatch || swatch->property(kCurrentProperty).toBool() == current) return;
  swatch->setProperty(kCurrentProperty, current);
  swatch->style()->unpolish(swatch);
  swatch->style()->polish(swatch);
  swatch->update();
}

}  // namespace

CColorSelectWnd::CColorSelectWnd(QWidget* owner, ColourOptionStore store)
    : owner_(owner),
      dialog_(BuildLayoutDialog(QLatin1String(kLayout), nullptr)),
      store_(std::move(store)) {
  options_ = store_.Load();
  saved_options_ = options_;
  if (!dialog_) {
    qCWarning(lcVorlin) << "colour window: layout" << kLayout << "unavailable";
    return;
  }
  dialog_->setWindowTitle(Translator::Instance().Text(QStringLiteral("color_select_title_text")));
  dialog_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  dialog_->setWindowModality(Qt::ApplicationModal);
  NotifyBridge::Install(dialog_.get(), this);
  connect(&Translator::Instance(), &Translator::LanguageChanged, this,
          &CColorSelectWnd::ShowPreview);
  SetColour(QColor::fromRgb(options_.presets[options_.selected_preset]), false);
}

CColorSelectWnd::~CColorSelectWnd() {
  if (NotifyBridge* bridge = NotifyBridge::Of(dialog_.get())) bridge->SetHandler(nullptr);
}

ColorSelectResult CColorSelectWnd::SelectColour(QWidget* owner, const QColor& initial,
                                                bool multi_colour, int dpi) {
  CColorSelectWnd window(owner, ColourOptionStore(ProfileFolders{InstallFolder().toStdString(),
                                                                 UserDataFolder().toStdString()}));
  window.SetColour(initial, multi_colour);
  window.SetDpi(dpi);
  return window.Exec();
}

void CColorSelectWnd::SetColour(const QColor& colour, bool multi_colour) {
  SetCurrentColour(colour.isValid() ? colour.rgb() : colour_, true, true);
  multi_colour_ = multi_colour;
  ChooseMatchingSwatch();
  ShowPreview();
}

void CColorSelectWnd::SetDpi(int dpi) {
  if (!dialog_) return;
  ApplyWindowScale(dialog_.get(), dpi > 0 ? dpi : 96);
  // Scaling puts back the stylesheets the controls had when first scaled; the colours are ours.
  ShowOptions();
  ShowPreview();
}

ColorSelectResult CColorSelectWnd::Exec() {
  if (!dialog_) return {};
  PrepareToShow();
  dialog_->exec();
  return Result();
}

void CColorSelectWnd::Show() {
  if (!dialog_) return;
  PrepareToShow();
  dialog_->show();
}

void CColorSelectWnd::PrepareToShow() {
  dialog_->setResult(kColorSelectCancelled);
  // Larger text (another language, another scale) may need more room than the layout gives.
  dialog_->resize(dialog_->size().expandedTo(dialog_->sizeHint()));
  PlaceOver(dialog_.get(), owner_);
}

ColorSelectResult CColorSelectWnd::Result() const {
  ColorSelectResult result;
  result.code = dialog_ ? dialog_->result() : kColorSelectCancelled;
  result.colour = Colour();
  result.multi_colour = result.code == kColorSelectChosen && multi_colour_;
  return result;
}

void CColorSelectWnd::Notify(const Notification& notification) {
  const QString name = notification.SenderName();
  if (IsType(notification, notify::kClick)) {
    if (name == u"okbtn") {
      Close(kColorSelectChosen);
    } else if (name == u"closebtn" || name == u"cancel_btn") {
      Close(kColorSelectCancelled);
    } else if (name == QLatin1String(kAddButton)) {
      AddCurrentToCollection();
    } else if (name == QLatin1String(kRemoveButton)) {
      RemoveChosenCollected();
    } else if (const int preset = ControlNumber(name, QLatin1StringView(kPresetPrefix)).value_or(-1); preset >= 0) {
      ChoosePreset(preset);
    } else if (const int collected = ControlNumber(name, QLatin1StringView(kCollectedPrefix)).value_or(-1);
               collected >= 0) {
      ChooseCollected(collected);
    }
  } else if (IsType(notification, notify::kSelectChanged)) {
    if (name == QLatin1String(kMultiColour) || name == QLatin1String(kMultiColourCollect)) {
      SetMultiColour(IsSelected(qobject_cast<QAbstractButton*>(notification.sender)));
    }
  } else if (IsType(notification, notify::kColorChanged)) {
    if (name == QLatin1String(kPalette)) TakePaletteColour();
  } else if (name == QLatin1String(kEdits[0]) || name == QLatin1String(kEdits[1]) ||
             name == QLatin1String(kEdits[2])) {
    if (IsType(notification, notify::kTextChanged)) {
      TakeEditedNumbers();
    } else if (IsType(notification, notify::kKillFocus) || IsType(notification, notify::kReturn)) {
      NormaliseEdit(notification.sender);
    }
  }
}

void CColorSelectWnd::ChoosePreset(int index) {
  if (index >= kPresetColourCount) return;
  SetCurrentColour(options_.presets[index], true, true);
  options_.selected_preset = index;
  SetChoice(Choice::kPreset, index);
}

void CColorSelectWnd::ChooseCollected(int index) {
  if (index >= static_cast<int>(options_.collected.size())) return;
  SetCurrentColour(options_.collected[index].argb, true, true);
  options_.selected_collected = index;
  SetChoice(Choice::kCollected, index);
}

void CColorSelectWnd::SetMultiColour(bool on) {
  if (on == multi_colour_) return;
  multi_colour_ = on;
  if (on) {
    SetChoice(Choice::kNone, -1);
  } else {
    ChooseMatchingSwatch();
  }
  ShowPreview();
}

void CColorSelectWnd::TakeEditedNumbers() {
  int channels[3] = {qRed(colour_), qGreen(colour_), qBlue(colour_)};
  for (int i = 0; i < 3; ++i) {
    if (auto* edit = FindControl<QLineEdit>(dialog_.get(), QLatin1String(kEdits[i]))) {
      channels[i] = std::clamp(EditNumber(edit, 0), 0, 255);
    }
  }
  SetCurrentColour(qRgb(channels[0], channels[1], channels[2]), true, false);
  ChooseMatchingSwatch();
}

void CColorSelectWnd::NormaliseEdit(QWidget* control) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (!edit) return;
  const QString text = QString::number(std::clamp(EditNumber(edit, 0), 0, 255));
  if (edit->text() != text) edit->setText(text);
}

void CColorSelectWnd::TakePaletteColour() {
  auto* palette = FindControl<ColorPalette>(dialog_.get(), QLatin1String(kPalette));
  if (!palette) return;
  SetCurrentColour(palette->Color().rgb(), false, true);
  ChooseMatchingSwatch();
}

void CColorSelectWnd::AddCurrentToCollection() {
  if (multi_colour_) return;
  if (!AddCollectedColour(options_, colour_)) {
    ShowStatus(QStringLiteral("color_collect_full_text"));
    return;
  }
  SetChoice(Choice::kCollected, options_.selected_collected);
  SaveOptions();
}

void CColorSelectWnd::RemoveChosenCollected() {
  if (choice_ != Choice::kCollected || !RemoveCollectedColour(options_, choice_index_)) return;
  SetChoice(Choice::kNone, -1);
  SaveOptions();
}

void CColorSelectWnd::Close(int code) {
  if (!dialog_) return;
  if (code == kColorSelectChosen &&
      !FindControl<ColorPalette>(dialog_.get(), QLatin1String(kPalette))) {
    code = kColorSelectNoPalette;
  }
  // The choices made are remembered for the next time; a cancelled window keeps nothing but the
  // collection, which is saved as it changes.
  if (code != kColorSelectCancelled && options_ != saved_options_) SaveOptions();
  dialog_->done(code);
}

void CColorSelectWnd::SetCurrentColour(QRgb rgb, bool update_palette, bool update_edits) {
  colour_ = rgb | 0xFF000000u;
  multi_colour_ = false;
  if (!dialog_) return;
  if (update_palette) {
    if (auto* palette = FindControl<ColorPalette>(dialog_.get(), QLatin1String(kPalette))) {
      palette->SetColor(QColor::fromRgb(colour_));
    }
  }
  if (update_edits) ShowEdits();
  ShowPreview();
}

void CColorSelectWnd::SetChoice(Choice choice, int index) {
  choice_ = index >= 0 ? choice : Choice::kNone;
  choice_index_ = choice_ == Choice::kNone ? -1 : index;
  ShowOptions();
}

void CColorSelectWnd::ChooseMatchingSwatch() {
  if (multi_colour_) {
    SetChoice(Choice::kNone, -1);
    return;
  }
  const auto same = [this](uint32_t argb) { return (argb | 0xFF000000u) == colour_; };
  if (same(options_.presets[options_.selected_preset])) {
    return SetChoice(Choice::kPreset, options_.selected_preset);
  }
  const int collected = static_cast<int>(options_.collected.size());
  if (options_.selected_collected >= 0 && options_.selected_collected < collected &&
      same(options_.collected[options_.selected_collected].argb)) {
    return SetChoice(Choice::kCollected, options_.selected_collected);
  }
  for (int i = 0; i < kPresetColourCount; ++i) {
    if (same(options_.presets[i])) return SetChoice(Choice::kPreset, i);
  }
  for (int i = 0; i < collected; ++i) {
    if (same(options_.collected[i].argb)) return SetChoice(Choice::kCollected, i);
  }
  SetChoice(Choice::kNone, -1);
}

void CColorSelectWnd::ShowOptions() {
  if (!dialog_) return;
  for (int i = 0; i < kPresetColourCount; ++i) {
    QWidget* swatch = FindControl(dialog_.get(), QLatin1String(kPresetPrefix) + QString::number(i));
    if (!swatch) continue;
    SetStyle(swatch, FillStyle(options_.presets[i]));
    SetUserData(swatch, QString::fromStdString(ArgbText(options_.presets[i])));
    swatch->setToolTip(RgbText(options_.presets[i]));
    SetCurrentMark(swatch, choice_ == Choice::kPreset && choice_index_ == i);
  }
  const int collected = static_cast<int>(options_.collected.size());
  for (int i = 0;; ++i) {
    QWidget* swatch =
        FindControl(dialog_.get(), QLatin1String(kCollectedPrefix) + QString::number(i));
    if (!swatch) break;
    const bool filled = i < collected;
    swatch->setEnabled(filled);
    SetStyle(swatch, filled ? FillStyle(options_.collected[i].argb) : QString());
    SetUserData(swatch,
                filled ? QString::fromStdString(options_.collected[i].user_data) : QString());
    swatch->setToolTip(filled ? RgbText(options_.collected[i].argb) : QString());
    SetCurrentMark(swatch, choice_ == Choice::kCollected && choice_index_ == i);
  }
  for (const char* name : {kMultiColour, kMultiColourCollect}) {
    SetSelected(FindControl<QAbstractButton>(dialog_.get(), QLatin1String(name)), multi_colour_,
                false);
  }
  if (QWidget* add = FindControl(dialog_.get(), QLatin1String(kAddButton))) {
    add->setEnabled(!multi_colour_);
  }
  if (QWidget* remove = FindControl(dialog_.get(), QLatin1String(kRemoveButton))) {
    remove->setEnabled(choice_ == Choice::kCollected);
  }
}

void CColorSelectWnd::ShowPreview() {
  if (!dialog_) return;
  SetStyle(FindControl(dialog_.get(), QLatin1String(kPreview)),
           multi_colour_ ? QStringLiteral("border-image: url(skin:%1) 0 0 0 0 stretch stretch;")
                               .arg(QLatin1String(kMultiColourImage))
                         : FillStyle(colour_));
  if (auto* label = FindControl<QLabel>(dialog_.get(), QLatin1String(kHexLabel))) {
    label->setText(multi_colour_ ? Translator::Instance().Text(QStringLiteral("color_multi_text"))
                                 : RgbText(colour_));
  }
  ShowOptions();
}

void CColorSelectWnd::ShowEdits() {
  const int channels[3] = {qRed(colour_), qGreen(colour_), qBlue(colour_)};
  for (int i = 0; i < 3; ++i) {
    if (auto* edit = FindControl<QLineEdit>(dialog_.get(), QLatin1String(kEdits[i]))) {
      edit->setText(QString::number(channels[i]));
    }
  }
}

void CColorSelectWnd::ShowStatus(const QString& text_key) {
  auto* label = FindControl<QLabel>(dialog_.get(), QLatin1String(kStatusLabel));
  if (!label) return;
  if (text_key.isEmpty()) {
    label->setVisible(false);
    return;
  }
  Translator::Instance().SetTextKey(label, text_key);
  label->setVisible(true);
}

void CColorSelectWnd::SaveOptions() {
  if (store_.Save(options_)) {
    saved_options_ = options_;
    ShowStatus({});
  } else {
    ShowStatus(QStringLiteral("color_collect_save_failed_text"));
  }
}

}  // namespace vorlin
