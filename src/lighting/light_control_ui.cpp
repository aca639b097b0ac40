#include "lighting/light_control_ui.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QSize>
#include <QSlider>
#include <QStackedWidget>
#include <QStandardItemModel>

#include "lighting/light_channel_text.h"
#include "lighting/light_swatch_button.h"
#include "platform/log.h"
#include "ui/color_palette.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/unit_text.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

constexpr char kModeCombo[] = "light_combo_modeSelect";
constexpr char kBrightnessSlider[] = "deng_light_slider";
constexpr char kSpeedSlider[] = "deng_speed_slider";
constexpr char kBrightnessValue[] = "deng_light_value";
constexpr char kSpeedValue[] = "deng_speed_value";
constexpr char kLeftOption[] = "deng_FXL_check";
constexpr char kRightOption[] = "deng_FXR_check";
constexpr char kMultiColourCheck[] = "deng_7color_check";
constexpr char kRedEdit[] = "deng_edit_R";
constexpr char kGreenEdit[] = "deng_edit_G";
constexpr char kBlueEdit[] = "deng_edit_B";
constexpr char kPalette[] = "deng_Color_Pallet";
constexpr char kColourButton[] = "deng_colordp_btn";
constexpr char kSyncCombo[] = "light_combo_ZZCCmodeSelect";
constexpr char kCustomCombo[] = "light_combo_custommodeSelect";
constexpr char kAudioModeCombo[] = "light_combo_audiomodeSelect";
constexpr char kAudioRedEdit[] = "deng_audioedit_R";
constexpr char kAudioGreenEdit[] = "deng_audioedit_G";
constexpr char kAudioBlueEdit[] = "deng_audioedit_B";
constexpr char kAudioPalette[] = "deng_audioColor_Pallet";
constexpr char kAudioColourButton[] = "deng_audiocolordp_btn";
constexpr char kAudioMultiColourCheck[] = "deng_7audiocolor_check";
constexpr char kBackgroundOption[] = "audio_BkColor_check";
constexpr char kForegroundOption[] = "audio_FgColor_check";
constexpr char kAudioColourLayout[] = "light_audiocolor_layout";
constexpr char kAudioPaletteLayout[] = "audiocolorpallet_layout";
constexpr char kPresetPrefix[] = "color_option_";
constexpr char kAudioPresetPrefix[] = "audiocolor_option_";
// Combos whose items the layout names by text key (dynamic property "itemKeys").
constexpr char kItemKeysProperty[] = "itemKeys";
// The music style whose colours come from the music itself: its colour controls are off.
constexpr int kAudioModeWithoutColours = 3;
constexpr qreal kDisabledOpacity = 0.3;

uint32_t Opaque(uint32_t rgb) {
  return 0xFF000000u | (rgb & 0x00FFFFFFu);
}

// Selects an item that exists; an index outside the list keeps the selection.
void SelectExisting(QComboBox* combo, int index) {
  if (combo && index >= 0 && index < combo->count()) SelectItem(combo, index, false);
}

// Selects one of a pair of exclusive options (the group refuses to clear its selected option, so
// the other one is selected first).
void SelectOneOf(QAbstractButton* chosen, QAbstractButton* other) {
  SetSelected(chosen, true, false);
  SetSelected(other, false, false);
}

int ChannelOf(const QLineEdit* edit, int fallback) {
  return edit ? ParseColourChannel(edit->text()).value : fallback;
}

QString EditText(const QLineEdit* edit) {
  return edit ? edit->text() : QString();
}

void FillFromItemKeys(QComboBox* combo) {
  if (!combo || combo->count() > 0) return;
  const QStringList keys = combo->property(kItemKeysProperty).toStringList();
  NotificationBlocker quiet;
  for (const QString& key : keys) Translator::Instance().AddComboItemKey(combo, key);
  if (!keys.isEmpty()) combo->setCurrentIndex(0);
}

// The palette keeps hue, saturation and value, so a colour put into it can come back a few steps
// off; a palette that already shows the colour keeps its marker where the user put it.
void ShowOnPalette(ColorPalette* palette, uint32_t argb) {
  if (palette && Opaque(palette->Color().rgb()) != Opaque(argb))
    palette->SetColor(QColor::fromRgba(argb));
}

void DimWhileDisabled(QWidget* control) {
  if (control->isEnabled()) {
    control->setGraphicsEffect(nullptr);
  } else if (!control->graphicsEffect()) {
    auto* dim = new QGraphicsOpacityEffect(control);  // owned by the control
    dim->setOpacity(kDisabledOpacity);
    control->setGraphicsEffect(dim);
  }
}

}  // namespace

CLightControlUI::CLightControlUI(QWidget* parent) : QWidget(parent) {
  // The panel's own colour buttons must be known before its layout is built.
  RegisterLightControls();
}

CLightControlUI::~CLightControlUI() = default;

void CLightControlUI::EnsureBuilt() const {
  if (built_) return;
  built_ = true;
  auto* self = const_cast<CLightControlUI*>(this);
  // A page's layout may have built the tree inside the panel already.
  if (findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty() &&
      !AttachSubLayout(self, QString::fromLatin1(kLayout))) {
    qCWarning(lcVorlin) << "lighting panel without its layout" << kLayout;
  }
  self->ConnectOwnControls();
}

void CLightControlUI::ConnectOwnControls() {
  const auto show_value = [this](const char* slider_name, const char* label_name) {
    auto* slider = FindControl<QSlider>(this, QString::fromLatin1(slider_name));
    auto* label = FindControl<QLabel>(this, QString::fromLatin1(label_name));
    if (!slider || !label) return;
    // A level reads against its scale ("3/4"), not as a bare number.
    const auto show = [label, slider] {
      label->setText(LevelOfMaximumText(slider->value(), slider->maximum()));
    };
    show();
    connect(slider, &QSlider::valueChanged, label, show);
    connect(&Translator::Instance(), &Translator::LanguageChanged, label, show);
  };
  show_value(kBrightnessSlider, kBrightnessValue);
  show_value(kSpeedSlider, kSpeedValue);

  if (auto* button = FindControl<QAbstractButton>(this, QString::fromLatin1(kColourButton))) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button] { emit colourButtonClicked(ControlBackgroundColour(button)); });
  }
  if (auto* button = FindControl<QAbstractButton>(this, QString::fromLatin1(kAudioColourButton))) {
    connect(button, &QAbstractButton::clicked, this,
            [this, button] { emit audioColourButtonClicked(ControlBackgroundColour(button)); });
  }
  for (const char* name : {kSyncCombo, kCustomCombo, kAudioModeCombo})
    FillFromItemKeys(FindControl<QComboBox>(this, QString::fromLatin1(name)));
  SizeByCurrentPage(FindControl<QStackedWidget>(this, QString::fromLatin1(kColourTabsName)));
  for (const char* name : {kPalette, kAudioPalette}) {
    if (auto* palette = FindControl<ColorPalette>(this, QString::fromLatin1(name))) {
      palette->installEventFilter(this);
      DimWhileDisabled(palette);
    }
  }
}

bool CLightControlUI::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    if (auto* palette = qobject_cast<ColorPalette*>(watched)) DimWhileDisabled(palette);
  }
  return QWidget::eventFilter(watched, event);
}

QWidget* CLightControlUI::Control(const QString& name) const {
  EnsureBuilt();
  return FindControl(this, name);
}

// ---- Light words ----

void CLightControlUI::SetLightWords(const LightWords& words) {
  const LightSettings s = LightSettingsFromWords(words);
  SelectMode(s.mode);
  SetBrightness(s.brightness);
  SetSpeed(s.speed);
  SetDirection(s.direction);
  SetMultiColour(s.multi_color != 0);
  ShowColour(OpaqueColour(s.red, s.green, s.blue));
  SetSyncMode(s.sync_mode);
}

LightWords CLightControlUI::GetLightWords(const LightWords& base) const {
  LightSettings s = LightSettingsFromWords(base);
  if (auto* combo = Control<QComboBox>(kModeCombo); combo && combo->currentIndex() >= 0)
    s.mode = static_cast<uint8_t>(combo->currentIndex());
  if (auto* slider = Control<QSlider>(kBrightnessSlider))
    s.brightness = static_cast<uint8_t>(std::clamp(slider->value(), 0, 255));
  if (auto* slider = Control<QSlider>(kSpeedSlider))
    s.speed = static_cast<uint8_t>(std::clamp(slider->value(), 0, 255));
  if (Control(QString::fromLatin1(kLeftOption))) s.direction = static_cast<uint8_t>(GetDirection());
  if (Control(QString::fromLatin1(kMultiColourCheck)))
    s.multi_color = static_cast<uint8_t>(GetMultiColour());
  s.red = static_cast<uint8_t>(ChannelOf(Control<QLineEdit>(kRedEdit), s.red));
  s.green = static_cast<uint8_t>(ChannelOf(Control<QLineEdit>(kGreenEdit), s.green));
  s.blue = static_cast<uint8_t>(ChannelOf(Control<QLineEdit>(kBlueEdit), s.blue));
  if (auto* combo = Control<QComboBox>(kSyncCombo); combo && combo->currentIndex() >= 0)
    s.sync_mode = static_cast<uint8_t>(combo->currentIndex());
  return LightSettingsToWords(s);
}

int CLightControlUI::GetMode() const {
  const auto* combo = Control<QComboBox>(kModeCombo);
  return combo ? combo->currentIndex() : 0;
}

int CLightControlUI::GetBrightness() const {
  const auto* slider = Control<QSlider>(kBrightnessSlider);
  return slider ? slider->value() : 0;
}

int CLightControlUI::GetSpeed() const {
  const auto* slider = Control<QSlider>(kSpeedSlider);
  return slider ? slider->value() : 0;
}

QString CLightControlUI::GetRedText() const {
  return EditText(Control<QLineEdit>(kRedEdit));
}
QString CLightControlUI::GetGreenText() const {
  return EditText(Control<QLineEdit>(kGreenEdit));
}
QString CLightControlUI::GetBlueText() const {
  return EditText(Control<QLineEdit>(kBlueEdit));
}

uint32_t CLightControlUI::GetPaletteColour() const {
  const auto* palette = Control<ColorPalette>(kPalette);
  return palette ? Opaque(palette->Color().rgb()) : 0xFF000000u;
}

int CLightControlUI::GetMultiColour() const {
  return IsSelected(Control<QAbstractButton>(kMultiColourCheck)) ? 1 : 0;
}

int CLightControlUI::GetDirection() const {
  return IsSelected(Control<QAbstractButton>(kLeftOption)) ? 1 : 0;
}

int CLightControlUI::GetSyncMode() const {
  const auto* combo = Control<QComboBox>(kSyncCombo);
  return combo ? std::max(0, combo->currentIndex()) : 0;
}

int CLightControlUI::GetCustomMode() const {
  const auto* combo = Control<QComboBox>(kCustomCombo);
  return combo ? combo->currentIndex() : -1;
}

void CLightControlUI::SetCustomMode(int index) {
  SelectExisting(Control<QComboBox>(kCustomCombo), index);
}

void CLightControlUI::SelectMode(int mode) {
  SelectExisting(Control<QComboBox>(kModeCombo), mode);
}

void CLightControlUI::SetBrightness(int value) {
  // setValue() raises no notification (only the user's moves do).
  if (auto* slider = Control<QSlider>(kBrightnessSlider)) slider->setValue(value);
}

void CLightControlUI::SetSpeed(int value) {
  if (auto* slider = Control<QSlider>(kSpeedSlider)) slider->setValue(value);
}

void CLightControlUI::SetDirection(int direction) {
  auto* left = Control<QAbstractButton>(kLeftOption);
  auto* right = Control<QAbstractButton>(kRightOption);
  if (direction != 0) {
    SelectOneOf(left, right);
  } else {
    SelectOneOf(right, left);
  }
}

void CLightControlUI::SetMultiColour(bool on) {
  SetSelected(Control<QAbstractButton>(kMultiColourCheck), on, false);
}

void CLightControlUI::SetSyncMode(int index) {
  SelectExisting(Control<QComboBox>(kSyncCombo), index);
}

void CLightControlUI::SetColourEdits(int red, int green, int blue) {
  const struct {
    const char* name;
    int value;
  } edits[] = {{kRedEdit, red}, {kGreenEdit, green}, {kBlueEdit, blue}};
  for (const auto& e : edits) {
    if (auto* edit = Control<QLineEdit>(e.name)) edit->setText(QString::number(e.value));
  }
}

void CLightControlUI::SetPaletteColour(uint32_t argb) {
  ShowOnPalette(Control<ColorPalette>(kPalette), argb);
}

void CLightControlUI::SetColourButton(uint32_t argb) {
  SetControlBackgroundColour(Control(QString::fromLatin1(kColourButton)), argb);
}

void CLightControlUI::ShowColour(uint32_t argb) {
  SetColourEdits((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  SetPaletteColour(argb);
  SetColourButton(argb);
}

// ---- Effect list and views ----

void CLightControlUI::SetModeList(const QStringList& name_keys, const std::vector<int>& enabled,
                                  int brightness_max, int speed_max) {
  if (auto* combo = Control<QComboBox>(kModeCombo)) {
    NotificationBlocker quiet;
    const int previous = combo->currentIndex();
    combo->clear();
    const int item_height =
        static_cast<int>(std::lround(kModeItemHeight * ScaleFactorForDpi(WindowDpi(window()))));
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    for (int i = 0; i < name_keys.size(); ++i) {
      Translator::Instance().AddComboItemKey(combo, name_keys[i]);
      combo->setItemData(i, name_keys[i], Qt::UserRole);
      combo->setItemData(i, QSize(0, item_height), Qt::SizeHintRole);
      // A mode without a flag stays usable: only an explicit 0 turns it off.
      const bool usable = i >= static_cast<int>(enabled.size()) || enabled[i] != 0;
      if (model && !usable) model->item(i)->setEnabled(false);
    }
    combo->setCurrentIndex(previous >= 0 && previous < combo->count() ? previous
                                                                      : (combo->count() ? 0 : -1));
  }
  if (auto* slider = Control<QSlider>(kBrightnessSlider)) {
    slider->setMinimum(0);
    slider->setMaximum(std::max(0, brightness_max));
  }
  if (auto* slider = Control<QSlider>(kSpeedSlider)) {
    slider->setMinimum(0);
    slider->setMaximum(std::max(0, speed_max));
  }
}

void CLightControlUI::SetSameModeAllowed(bool allowed) {
  same_mode_allowed_ = allowed;
  UpdateSameModeVisibility();
}

void CLightControlUI::UpdateSameModeVisibility() {
  if (QWidget* same_mode = Control(QString::fromLatin1(LightPartControlName(LightPart::kSameMode))))
    same_mode->setVisible(same_mode_allowed_ && same_mode_wanted_);
}

void CLightControlUI::ApplyPart(LightPart part, const LightPartState& state) {
  QWidget* control = Control(QString::fromLatin1(LightPartControlName(part)));
  if (!control) return;
  if (state.enabled) control->setEnabled(*state.enabled);
  if (state.shown) control->setVisible(*state.shown);
}

void CLightControlUI::ApplyMode(int mode) {
  EnsureBuilt();
  if (!IsKnownLightType(light_type_)) {
    qCWarning(lcVorlin) << "lighting panel: no effect table for light type" << light_type_;
    return;
  }
  if (mode < 0) return;
  const LightModeView view = LightModeViewFor(light_type_, mode);
  for (std::size_t i = 0; i < kLightPartCount; ++i) {
    const auto part = static_cast<LightPart>(i);
    if (part == LightPart::kSameMode) {
      if (view[part].enabled) {
        if (QWidget* same_mode = Control(QString::fromLatin1(LightPartControlName(part))))
          same_mode->setEnabled(*view[part].enabled);
      }
      if (view[part].shown) same_mode_wanted_ = *view[part].shown;
      UpdateSameModeVisibility();
      continue;
    }
    ApplyPart(part, view[part]);
  }
  if (view.labels) {
    Translator::Instance().SetTextKey(Control(QString::fromLatin1(kLeftOption)),
                                      QString::fromLatin1(view.labels->left_option));
    Translator::Instance().SetTextKey(Control(QString::fromLatin1(kRightOption)),
                                      QString::fromLatin1(view.labels->right_option));
  }
  if (view.colour_page) {
    auto* tabs = Control<QStackedWidget>(kColourTabsName);
    SelectTab(tabs, *view.colour_page);
    SizeByCurrentPage(tabs);
  }
}

// ---- Music lighting ----

void CLightControlUI::SetAudioLight(const AudioLightSettings& settings) {
  auto* combo = Control<QComboBox>(kAudioModeCombo);
  auto* red = Control<QLineEdit>(kAudioRedEdit);
  auto* green = Control<QLineEdit>(kAudioGreenEdit);
  auto* blue = Control<QLineEdit>(kAudioBlueEdit);
  auto* foreground = Control<QAbstractButton>(kForegroundOption);
  auto* background = Control<QAbstractButton>(kBackgroundOption);
  auto* multi_colour = Control<QAbstractButton>(kAudioMultiColourCheck);
  auto* palette = Control<ColorPalette>(kAudioPalette);
  QWidget* button = Control(QString::fromLatin1(kAudioColourButton));
  QWidget* colour_layout = Control(QString::fromLatin1(kAudioColourLayout));
  QWidget* palette_layout = Control(QString::fromLatin1(kAudioPaletteLayout));
  if (!combo || !red || !green || !blue || !foreground || !background || !multi_colour ||
      !palette || !button || !colour_layout || !palette_layout) {
    throw LightPanelError(kSetAudioLightError);
  }

  NotificationBlocker quiet;
  SelectExisting(combo, settings.audio_mode);
  const bool on_foreground = settings.color_side == 1;
  uint32_t colour = 0;
  if (on_foreground) {
    colour = OpaqueColour(settings.fg_red, settings.fg_green, settings.fg_blue);
    SelectOneOf(foreground, background);
    multi_colour->setEnabled(true);
  } else {
    colour = OpaqueColour(settings.bk_red, settings.bk_green, settings.bk_blue);
    SelectOneOf(background, foreground);
    // The background is one colour; the multi-colour flag is the foreground's.
    multi_colour->setEnabled(false);
  }
  // The check holds the flag on either side: reading the settings back takes it from there, so
  // a panel showing the background first must not lose the foreground's flag.
  SetSelected(multi_colour, settings.multi_color != 0, false);
  red->setText(QString::number((colour >> 16) & 0xFF));
  green->setText(QString::number((colour >> 8) & 0xFF));
  blue->setText(QString::number(colour & 0xFF));
  ShowOnPalette(palette, colour);
  SetControlBackgroundColour(button, colour);
  const bool colours_on = settings.audio_mode != kAudioModeWithoutColours;
  colour_layout->setEnabled(colours_on);
  palette_layout->setEnabled(colours_on);
}

AudioLightSettings CLightControlUI::GetAudioLight(const AudioLightSettings& stored,
                                                  bool store_button_colour) const {
  const auto* combo = Control<QComboBox>(kAudioModeCombo);
  const auto* multi_colour = Control<QAbstractButton>(kAudioMultiColourCheck);
  const auto* background = Control<QAbstractButton>(kBackgroundOption);
  const auto* foreground = Control<QAbstractButton>(kForegroundOption);
  const QWidget* button = Control(QString::fromLatin1(kAudioColourButton));
  if (!combo || !multi_colour || !background || !foreground || !button)
    throw LightPanelError(kGetAudioLightError);

  AudioLightSettings s = stored;
  // The style list is read too: a style picked in the list is what the user wants stored.
  if (combo->currentIndex() >= 0) s.audio_mode = static_cast<uint8_t>(combo->currentIndex());
  s.multi_color = multi_colour->isChecked() ? 1 : 0;
  if (stored.color_side == 1) {
    s.color_side = background->isChecked() ? 0 : 1;
  } else {
    s.color_side = foreground->isChecked() ? 1 : 0;
  }
  if (store_button_colour) {
    const uint32_t colour = ControlBackgroundColour(button);
    const auto r = static_cast<uint8_t>(colour >> 16);
    const auto g = static_cast<uint8_t>(colour >> 8);
    const auto b = static_cast<uint8_t>(colour);
    if (s.color_side == 1) {
      s.fg_red = r;
      s.fg_green = g;
      s.fg_blue = b;
    } else {
      s.bk_red = r;
      s.bk_green = g;
      s.bk_blue = b;
    }
  }
  return s;
}

uint32_t CLightControlUI::GetAudioPaletteColour() const {
  const auto* palette = Control<ColorPalette>(kAudioPalette);
  if (!palette) throw LightPanelError(kGetAudioColourError);
  return Opaque(palette->Color().rgb());
}

uint32_t CLightControlUI::GetPresetColour(int index) const {
  return ControlBackgroundColour(
      Control(QString::fromLatin1(kPresetPrefix) + QString::number(index)));
}

uint32_t CLightControlUI::GetAudioPresetColour(int index) const {
  return ControlBackgroundColour(
      Control(QString::fromLatin1(kAudioPresetPrefix) + QString::number(index)));
}

void RegisterLightControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  ControlFactory& factory = ControlFactory::Instance();
  factory.Register<CLightControlUI>(
      {QStringLiteral("LightControl"), QStringLiteral("CLightControlUI")});
  factory.RegisterSubLayout(QStringLiteral("LightSetControlUI"),
                            QString::fromLatin1(CLightControlUI::kLayout));
  factory.Register<LightSwatchButton>({QStringLiteral("LightSwatchButton")});
}

}  // namespace vorlin
