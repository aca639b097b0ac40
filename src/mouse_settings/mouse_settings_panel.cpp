#include "mouse_settings/mouse_settings_panel.h"

#include <algorithm>
#include <optional>
#include <string>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QStackedWidget>
#include <QStringList>
#include <QStyle>

#include "devices/device_capabilities.h"
#include "mouse_settings/stage_colour_button.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/field_notice.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/page_services.h"
#include "ui/translator.h"
#include "ui/unit_text.h"

namespace vorlin {
namespace {

// Stage rows.
constexpr char kStageLayout[] = "DPI_layout_";
constexpr char kEnableOption[] = "DPI_enable_check_";
constexpr char kSelectOption[] = "DPI_select_check_";
constexpr char kSlider[] = "DPI_slider_";
constexpr char kEdit[] = "DPI_edit_";
constexpr char kColourOption[] = "DPI_color_option_";
// The slider of the current stage carries "stage" = "current" (its own stylesheet draws it apart).
constexpr char kStageProperty[] = "stage";

// Performance options.
constexpr char kPollingRateOption[] = "polling_rate_option_";
constexpr char kSensorLiftOption[] = "sensor_lif_option_";

// Settings tabs.
constexpr char kTabLayout[] = "mouse_device_seting_layout";
constexpr char kTabSelector[] = "mouse_option_layout";
constexpr char kTabOption[] = "mouse_device_seting_option_";

// Pointer card.
constexpr char kPointerSpeedSlider[] = "pointer_speed_slider";
constexpr char kScrollSpeedSlider[] = "scroll_speed_slider";
constexpr char kDoubleClickSlider[] = "double_click_slider";
constexpr char kPointerPrecisionCheck[] = "pointer_precision_check";
constexpr char kScrollPageCheck[] = "scrolls_page_check";

constexpr char kItemKeysProperty[] = "itemKeys";

using Field = uint16_t MouseSystemSettings::*;

struct NamedField {
  const char* name;
  Field field;
};

// Options whose state is a flag of the settings.
constexpr NamedField kFlagOptions[] = {
    {"rippleControl_option", &MouseSystemSettings::ripple_control},
    {"linearCalibration_option", &MouseSystemSettings::linear_calibration},
    {"motionSyn_option", &MouseSystemSettings::motion_sync},
};

// Lists whose selected item index is a field of the settings.
constexpr NamedField kIndexLists[] = {
    {"Dormancy_combo_timeSelect", &MouseSystemSettings::dormancy_time},
    {"Key_Delay_combo_timeSelect", &MouseSystemSettings::key_delay},
    {"Anti_Shake_combo_timeSelect", &MouseSystemSettings::anti_shake},
    {"Silent_Altitude_Select", &MouseSystemSettings::silent_altitude},
};

struct PointerSlider {
  const char* name;
  const char* value_label;
  Field field;
  const char* unit;  // the value's unit (a text key); none: the value on its scale ("10/20")
};

constexpr PointerSlider kPointerSliders[] = {
    {kPointerSpeedSlider, "pointer_speed_value", &MouseSystemSettings::pointer_speed, nullptr},
    {kScrollSpeedSlider, "scroll_speed_value", &MouseSystemSettings::wheel_lines,
     "unit_lines_text"},
    {kDoubleClickSlider, "double_click_value", &MouseSystemSettings::double_click_time,
     "unit_ms_text"},
};

constexpr NamedField kPointerChecks[] = {
    {kPointerPrecisionCheck, &MouseSystemSettings::pointer_precision},
    {kScrollPageCheck, &MouseSystemSettings::scroll_page},
};

uint32_t StageColour(const DpiStage& stage) {
  return 0xFF000000u | (uint32_t{stage.red} << 16) | (uint32_t{stage.green} << 8) | stage.blue;
}

uint16_t ToField(int value) {
  return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF));
}

void SetStageLook(QSlider* slider, bool current) {
  if (!slider) return;
  const QString look = current ? QStringLiteral("current") : QStringLiteral("other");
  if (slider->property(kStageProperty).toString() == look) return;
  slider->setProperty(kStageProperty, look);
  slider->style()->unpolish(slider);
  slider->style()->polish(slider);
  slider->update();
}

void SelectExisting(QComboBox* combo, int index) {
  if (!combo) return;
  SelectItem(combo, index >= 0 && index < combo->count() ? index : -1, false);
}

}  // namespace

MouseSettingsPanel::MouseSettingsPanel(MouseSettingsControl& host, PageServices& services)
    : host_(host), services_(services) {}

QString MouseSettingsPanel::StageControl(const char* prefix, int stage) {
  return QLatin1String(prefix) + QString::number(stage);
}

QWidget* MouseSettingsPanel::Control(const QString& name) const {
  return root_ ? FindControl(root_, name) : nullptr;
}

void MouseSettingsPanel::Bind(QWidget* root) {
  root_ = root;
  bindings_.Clear();
  if (!root) return;
  NotificationBlocker quiet;
  for (QComboBox* combo : root->findChildren<QComboBox*>()) {
    const QStringList keys = combo->property(kItemKeysProperty).toStringList();
    if (combo->count() > 0 || keys.isEmpty()) continue;
    for (const QString& key : keys) Translator::Instance().AddComboItemKey(combo, key);
  }
  for (int i = 0; i < kDpiStageRows; ++i) {
    if (auto* slider = Control<QSlider>(StageControl(kSlider, i))) slider->setRange(kDpiMin, kDpiMax);
  }
  SizeByCurrentPage(Control<QStackedWidget>(QLatin1String(kTabLayout)));
  BindStageRows(root);
  BindSettings(root);
  BindPointer(root);
}

DpiScale MouseSettingsPanel::Scale() const {
  return DpiScaleFromDeviceInfo(host_.DeviceInfo());
}

// ---- Showing ----

void MouseSettingsPanel::ShowStageValue(int stage, int code, const DpiScale& scale) {
  auto* slider = Control<QSlider>(StageControl(kSlider, stage));
  auto* edit = Control<QLineEdit>(StageControl(kEdit, stage));
  const bool known = scale.Known();
  if (slider) {
    slider->setEnabled(known);
    if (known) slider->setValue(ShownDpi(scale, code));
  }
  if (edit) {
    edit->setEnabled(known);
    edit->setText(known ? QString::number(ShownDpi(scale, code)) : QString());
  }
}

void MouseSettingsPanel::ShowStageEnabled(int stage, bool enabled) {
  SetSelected(Control<QAbstractButton>(StageControl(kEnableOption, stage)), enabled, false);
  if (QWidget* row = Control(StageControl(kStageLayout, stage))) row->setEnabled(enabled);
}

StageFlags MouseSettingsPanel::EnabledOptions() const {
  StageFlags enabled{};
  for (int i = 0; i < kDpiStageRows; ++i)
    enabled[static_cast<size_t>(i)] =
        IsSelected(Control<QAbstractButton>(StageControl(kEnableOption, i)));
  return enabled;
}

void MouseSettingsPanel::ShowStageMarks(int current) {
  const StageFlags usable = UsableEnableOptions(EnabledOptions(), current);
  for (int i = 0; i < kDpiStageRows; ++i) {
    if (auto* option = Control<QAbstractButton>(StageControl(kEnableOption, i)))
      option->setEnabled(usable[static_cast<size_t>(i)]);
    SetSelected(Control<QAbstractButton>(StageControl(kSelectOption, i)), i == current, false);
    SetStageLook(Control<QSlider>(StageControl(kSlider, i)), i == current);
  }
}

void MouseSettingsPanel::ShowOptionRow(const char* prefix, int count, int value) {
  const int shown = ShownOption(value, count);
  // The shown option first, so that a layout grouping the options never refuses the change.
  SetSelected(Control<QAbstractButton>(StageControl(prefix, shown)), true, false);
  for (int n = 0; n < count; ++n) {
    if (n != shown) SetSelected(Control<QAbstractButton>(StageControl(prefix, n)), false, false);
  }
}

void MouseSettingsPanel::ShowSettings(const MouseSystemSettings& settings) {
  ShowOptionRow(kPollingRateOption, kPollingRateOptions, settings.report_stage);
  ShowOptionRow(kSensorLiftOption, kSensorLiftOptions, settings.sensor_lift);
  for (const NamedField& flag : kFlagOptions) {
    SetSelected(Control<QAbstractButton>(QLatin1String(flag.name)), settings.*flag.field != 0,
                false);
  }
  for (const NamedField& list : kIndexLists)
    SelectExisting(Control<QComboBox>(QLatin1String(list.name)), settings.*list.field);
}

void MouseSettingsPanel::ShowValueLabel(const char* label, const QSlider& slider,
                                        const char* unit) {
  auto* text = Control<QLabel>(QLatin1String(label));
  if (!text) return;
  text->setText(unit ? ValueWithUnitText(slider.value(), QString::fromLatin1(unit))
                     : LevelOfMaximumText(slider.value(), slider.maximum()));
}

void MouseSettingsPanel::ShowPointerSettings(const MouseSystemSettings& settings) {
  for (const PointerSlider& entry : kPointerSliders) {
    auto* slider = Control<QSlider>(QLatin1String(entry.name));
    if (!slider) continue;
    slider->setValue(settings.*entry.field);
    ShowValueLabel(entry.value_label, *slider, entry.unit);
  }
  for (const NamedField& check : kPointerChecks) {
    SetSelected(Control<QAbstractButton>(QLatin1String(check.name)), settings.*check.field != 0,
                false);
  }
}

void MouseSettingsPanel::Refresh() {
  if (!root_) return;
  const DpiScale scale = Scale();
  const std::vector<DpiStage> stages = host_.DpiStages();
  for (int i = 0; i < kDpiStageRows; ++i) {
    if (static_cast<size_t>(i) < stages.size()) {
      const DpiStage& stage = stages[static_cast<size_t>(i)];
      ShowStageEnabled(i, stage.active != 0);
      ShowStageValue(i, stage.dpi_x, scale);
      SetSwatchColour(Control(StageControl(kColourOption, i)), StageColour(stage));
    } else {
      // A row the profile does not hold keeps what it shows; it is usable as the scale allows.
      for (const char* prefix : {kSlider, kEdit}) {
        if (QWidget* control = Control(StageControl(prefix, i))) control->setEnabled(scale.Known());
      }
    }
  }
  ShowStageMarks(host_.CurrentDpiStage());
  const MouseSystemSettings settings = host_.SystemSettings();
  ShowSettings(settings);
  ShowPointerSettings(settings);
}

// ---- Changing ----

DpiStage MouseSettingsPanel::StageFromRow(int stage, const DpiScale& scale) const {
  DpiStage made;
  const auto* enable = Control<QAbstractButton>(StageControl(kEnableOption, stage));
  made.active = !enable || enable->isChecked() ? 1 : 0;
  const auto* slider = Control<QSlider>(StageControl(kSlider, stage));
  const int code = slider ? DpiCodeFromValue(scale, slider->value()) : 0;
  made.dpi_x = static_cast<uint16_t>(code);
  made.dpi_y = static_cast<uint16_t>(code);
  const uint32_t colour = SwatchColour(Control(StageControl(kColourOption, stage)));
  made.red = static_cast<uint8_t>(colour >> 16);
  made.green = static_cast<uint8_t>(colour >> 8);
  made.blue = static_cast<uint8_t>(colour);
  return made;
}

std::optional<std::vector<DpiStage>> MouseSettingsPanel::StagesCovering(
    int stage, const DpiScale& scale) const {
  std::vector<DpiStage> stages = host_.DpiStages();
  // A stage the list lacks takes its row's code, which needs the scale: without it none is made.
  if (stages.size() <= static_cast<size_t>(stage) && !scale.Known()) return std::nullopt;
  GrowStages(stages, static_cast<size_t>(stage) + 1,
             [&](int i) { return StageFromRow(i, scale); });
  return stages;
}

void MouseSettingsPanel::StoreStages(const std::vector<DpiStage>& stages) {
  host_.StoreDpiStages(stages);
}

void MouseSettingsPanel::Finish(bool write) {
  host_.CommitSettings(write);
}

void MouseSettingsPanel::OnSliderChanged(int stage, bool dragging) {
  auto* slider = Control<QSlider>(StageControl(kSlider, stage));
  const DpiScale scale = Scale();
  if (!slider || !scale.Known()) return;
  const int code = DpiCodeFromValue(scale, slider->value());
  ShowStageValue(stage, code, scale);
  if (dragging) return;
  std::vector<DpiStage> stages = *StagesCovering(stage, scale);  // the scale is known
  stages[static_cast<size_t>(stage)].dpi_x = static_cast<uint16_t>(code);
  StoreStages(stages);
  Finish(true);
}

void MouseSettingsPanel::OnEditDone(int stage) {
  auto* edit = Control<QLineEdit>(StageControl(kEdit, stage));
  const DpiScale scale = Scale();
  if (!edit || !scale.Known()) return;
  const std::string text = edit->text().toStdString();
  const std::optional<int> typed_code = DpiCodeFromEditText(scale, text);
  const Translator& texts = Translator::Instance();
  if (!typed_code) {
    // Nothing is stored or written: the row shows the stage's DPI again and says why.
    const std::vector<DpiStage> stages = *StagesCovering(stage, scale);  // the scale is known
    ShowStageValue(stage, stages[static_cast<size_t>(stage)].dpi_x, scale);
    ShowFieldNotice(edit,
                    texts.Text(QStringLiteral("typed_dpi_range_text")).arg(kDpiMin).arg(kDpiMax));
    return;
  }
  const int code = *typed_code;
  ShowStageValue(stage, code, scale);
  // The DPI the mouse gets is what the row now shows; when that is not what was typed, say so.
  const int shown = ShownDpi(scale, code);
  ShowFieldNotice(
      edit, shown == ParseTypedInteger(text)
                ? QString()
                : texts.Text(QStringLiteral("typed_dpi_rounded_text")).arg(shown).arg(kDpiGrain));
  // A stage the profile lacks is made from its row, which shows the new DPI now.
  std::vector<DpiStage> stages = *StagesCovering(stage, scale);  // the scale is known
  stages[static_cast<size_t>(stage)].dpi_x = static_cast<uint16_t>(code);
  StoreStages(stages);
  Finish(true);
}

void MouseSettingsPanel::OnSelect(int stage) {
  const DpiScale scale = Scale();
  std::optional<std::vector<DpiStage>> covering = StagesCovering(kDpiStageRows - 1, scale);
  if (!covering) {
    Refresh();  // nothing changes: the rows show the profile again
    return;
  }
  std::vector<DpiStage>& stages = *covering;
  host_.StoreCurrentDpiStage(stage);
  // The current stage is always enabled: it cannot be switched off while it is current.
  DpiStage& chosen = stages[static_cast<size_t>(stage)];
  if (!chosen.active) {
    chosen.active = 1;
    ShowStageEnabled(stage, true);
  }
  for (int i = 0; i < kDpiStageRows; ++i) ShowStageValue(i, stages[static_cast<size_t>(i)].dpi_x, scale);
  ShowStageMarks(stage);
  StoreStages(stages);
  Finish(true);
}

void MouseSettingsPanel::OnEnable(int stage, bool on) {
  const int current = host_.CurrentDpiStage();
  if (!on) {
    StageFlags before = EnabledOptions();
    before[static_cast<size_t>(stage)] = true;
    if (!MaySwitchOff(before, stage, current)) {
      ShowStageEnabled(stage, true);
      ShowStageMarks(current);
      return;
    }
  }
  std::optional<std::vector<DpiStage>> covering = StagesCovering(stage, Scale());
  if (!covering) {
    Refresh();
    return;
  }
  std::vector<DpiStage>& stages = *covering;
  stages[static_cast<size_t>(stage)].active = on ? 1 : 0;
  ShowStageEnabled(stage, on);
  ShowStageMarks(current);
  StoreStages(stages);
  Finish(true);
}

void MouseSettingsPanel::OnColour(int stage) {
  // The colour window is modal; a click that reaches the page while it is open is not another
  // request.
  if (colour_window_open_) return;
  QWidget* swatch = Control(StageControl(kColourOption, stage));
  colour_window_open_ = true;
  const std::optional<ColourChoice> chosen =
      services_.ChooseColour(SwatchColour(swatch), false, false);
  colour_window_open_ = false;
  if (!chosen) return;
  const uint32_t colour = 0xFF000000u | (chosen->argb & 0x00FFFFFFu);
  std::optional<std::vector<DpiStage>> covering = StagesCovering(stage, Scale());
  if (!covering) return;
  SetSwatchColour(swatch, colour);
  std::vector<DpiStage>& stages = *covering;
  DpiStage& changed = stages[static_cast<size_t>(stage)];
  changed.red = static_cast<uint8_t>(colour >> 16);
  changed.green = static_cast<uint8_t>(colour >> 8);
  changed.blue = static_cast<uint8_t>(colour);
  StoreStages(stages);
  Finish(true);
}

void MouseSettingsPanel::OnTab(int page) {
  auto* tabs = Control<QStackedWidget>(QLatin1String(kTabLayout));
  const int count = tabs ? tabs->count() : 0;
  const int shown = page >= 0 && page < count ? page : 0;
  SelectTab(tabs, shown);
  SizeByCurrentPage(tabs);
  QWidget* selector = Control(QLatin1String(kTabSelector));
  if (!selector) return;
  const QString chosen = StageControl(kTabOption, shown);
  for (QAbstractButton* option : selector->findChildren<QAbstractButton*>()) {
    if (option->isCheckable() && option->objectName().startsWith(QLatin1String(kTabOption)))
      SetSelected(option, option->objectName() == chosen, false);
  }
}

// ---- Binding ----

void MouseSettingsPanel::StoreSetting(Field field, int value, bool write) {
  MouseSystemSettings settings = host_.SystemSettings();
  settings.*field = ToField(value);
  host_.StoreSystemSettings(settings);
  Finish(write);
}

void MouseSettingsPanel::BindStageRows(QWidget* root) {
  using N = const Notification&;
  for (int i = 0; i < kDpiStageRows; ++i) {
    bindings_.Bind(root, StageControl(kSlider, i), notify::kValueChanged,
                   [this, i](N) { OnSliderChanged(i, false); });
    bindings_.Bind(root, StageControl(kSlider, i), notify::kMoveValueChanged,
                   [this, i](N) { OnSliderChanged(i, true); });
    for (const char* type : {notify::kKillFocus, notify::kReturn})
      bindings_.Bind(root, StageControl(kEdit, i), type, [this, i](N) { OnEditDone(i); });
    bindings_.Bind(root, StageControl(kSelectOption, i), notify::kSelectChanged,
                   [this, i](N) { OnSelect(i); });
    bindings_.Bind(root, StageControl(kEnableOption, i), notify::kSelectChanged, [this, i](N n) {
      OnEnable(i, IsSelected(qobject_cast<QAbstractButton*>(n.sender)));
    });
    bindings_.Bind(root, StageControl(kColourOption, i), notify::kClick,
                   [this, i](N) { OnColour(i); });
  }
}

void MouseSettingsPanel::BindSettings(QWidget* root) {
  using N = const Notification&;
  for (const NamedField& list : kIndexLists) {
    bindings_.Bind(root, list.name, notify::kItemSelect, [this, field = list.field](N n) {
      const auto* combo = qobject_cast<QComboBox*>(n.sender);
      if (combo && combo->currentIndex() >= 0) StoreSetting(field, combo->currentIndex(), true);
    });
  }
  struct OptionRow {
    const char* prefix;
    int count;
    Field field;
  };
  const OptionRow rows[] = {
      {kPollingRateOption, kPollingRateOptions, &MouseSystemSettings::report_stage},
      {kSensorLiftOption, kSensorLiftOptions, &MouseSystemSettings::sensor_lift},
  };
  for (const OptionRow& row : rows) {
    for (int option = 0; option < row.count; ++option) {
      bindings_.Bind(root, StageControl(row.prefix, option), notify::kSelectChanged,
                     [this, row, option](N) {
                       MouseSystemSettings settings = host_.SystemSettings();
                       settings.*row.field = ToField(option);
                       host_.StoreSystemSettings(settings);
                       ShowOptionRow(row.prefix, row.count, option);
                       Finish(true);
                     });
    }
  }
  for (const NamedField& flag : kFlagOptions) {
    bindings_.Bind(root, flag.name, notify::kSelectChanged, [this, field = flag.field](N n) {
      StoreSetting(field, IsSelected(qobject_cast<QAbstractButton*>(n.sender)) ? 1 : 0, true);
    });
  }
  bindings_.BindNumbered(root, kTabOption, notify::kSelectChanged,
                         [this](N, int page) { OnTab(page); });
}

void MouseSettingsPanel::BindPointer(QWidget* root) {
  using N = const Notification&;
  for (const PointerSlider& entry : kPointerSliders) {
    for (const bool dragging : {true, false}) {
      const char* type = dragging ? notify::kMoveValueChanged : notify::kValueChanged;
      bindings_.Bind(root, entry.name, type, [this, entry, dragging](N n) {
        const auto* slider = qobject_cast<QSlider*>(n.sender);
        if (!slider) return;
        ShowValueLabel(entry.value_label, *slider, entry.unit);
        if (dragging) return;
        MouseSystemSettings settings = host_.SystemSettings();
        settings.*entry.field = ToField(slider->value());
        if (entry.field == &MouseSystemSettings::wheel_lines) {
          // Scrolling by lines again: the page-at-a-time setting goes off.
          settings.scroll_page = 0;
          SetSelected(Control<QAbstractButton>(QLatin1String(kScrollPageCheck)), false, false);
        }
        host_.StoreSystemSettings(settings);
        Finish(false);
      });
    }
  }
  for (const NamedField& check : kPointerChecks) {
    bindings_.Bind(root, check.name, notify::kSelectChanged, [this, field = check.field](N n) {
      StoreSetting(field, IsSelected(qobject_cast<QAbstractButton*>(n.sender)) ? 1 : 0, false);
    });
  }
}

bool MouseSettingsPanel::HandleNotification(const Notification& notification) {
  return bindings_.Dispatch(notification);
}

void RegisterMouseSettingsControls() {
  ControlFactory& factory = ControlFactory::Instance();
  factory.Register<StageColourButton>({QStringLiteral("StageColourButton")});
  factory.Register<KeyInfoList>({QStringLiteral("KeyInfoList")});
}

}  // namespace vorlin
