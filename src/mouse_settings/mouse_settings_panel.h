#pragma once

// The mouse's settings: the six DPI stage rows, the performance options (polling rate, ripple
// control, linear calibration, motion sync, sensor lift and the four time and distance lists),
// the pointer and scroll settings, the settings tab selector and the key information list.
//
// The panel finds its controls by name below a root (the device page, or any widget holding the
// layouts below) whenever it needs them, so a control the page lacks is simply passed over; it
// binds the handlers of the controls it acts on when it is given the root (a control the root
// lacks is logged then). It keeps no settings of its own: Refresh shows the host's values, and each
// handler reads the host's values, changes them, stores them and has the host save the profile and,
// for what the mouse itself understands, write the parameter record.
//
// Layouts: kSettingsLayout holds the tab selector "mouse_option_layout" and the tab layout
// "mouse_device_seting_layout" (tab 0 the DPI stages, tab 1 the performance options);
// kPointerLayout the pointer card; kKeyInfoLayout the key information list. Their custom controls
// need RegisterMouseSettingsControls() before they are loaded.
//
// DPI values. The stage rows show DPI values and the profile holds codes; the conversion is
// dpi_codes.h with the scale of the device information. While the scale is unknown (the mouse has
// not been read) the DPI sliders and edits are unusable and show nothing, and no handler turns a
// value into a code, so a stored stage is never overwritten from an unknown scale.
//
// Stages the profile does not hold yet. Every handler that changes stage i first grows the stage
// list to cover it; a new stage takes what its row shows: enabled as its enable option, the code
// of its slider (the same code for X and Y), the colour of its swatch.
//
// What the controls do (all but the tab selector and the pointer card write the parameter
// record after saving; the pointer card only saves; the tab selector only shows):
//   DPI slider let go / DPI edit left or Enter:  the stage's X code (the Y code and the X/Y flag
//       stay); the row shows the code's DPI. While dragged the row only shows.
//   current-stage option:  the stage becomes current (and enabled: the current stage is never
//       off); the list grows to six stages; the rows are shown again with their stored codes.
//   enable option:  the stage's flag; the rest of the row follows. The current stage and the
//       last enabled stage cannot be switched off.
//   colour swatch:  the colour window (one at a time); a chosen colour becomes the stage's.
//   polling rate, sensor lift, ripple control, linear calibration, motion sync, the four lists:
//       the setting.
//   pointer speed, precision, scroll lines (which ends scrolling by page), scroll by page,
//       double-click time: the setting, kept in the profile only.

#include <cstdint>
#include <optional>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "mouse_settings/dpi_codes.h"
#include "mouse_settings/key_info_list.h"
#include "mouse_settings/stage_rules.h"
#include "profiles/device_settings.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

class QAbstractButton;
class QSlider;

namespace vorlin {

class MouseSettingsControl;
class PageServices;

class MouseSettingsPanel {
 public:
  static constexpr char kSettingsLayout[] = "XML/CustomControlXML/MouseSettings.xml";
  static constexpr char kPointerLayout[] = "XML/CustomControlXML/MouseCursor.xml";
  static constexpr char kKeyInfoLayout[] = "XML/CustomControlXML/MouseKeyInfo.xml";
  static constexpr int kPollingRateOptions = 5;
  static constexpr int kSensorLiftOptions = 2;

  // The mouse's settings and the page's services (the colour window) must outlive the panel.
  MouseSettingsPanel(MouseSettingsControl& host, PageServices& services);

  // The widget below which the controls are found. Fills the lists whose items the layouts name
  // by text key, gives the DPI sliders their range and binds the controls' handlers (those of a
  // root given before are forgotten). Call again after adding layouts.
  void Bind(QWidget* root);

  // Shows the host's values: the stage rows (enabled, DPI, current-stage marks, colours), the
  // performance options and lists, and the pointer settings.
  void Refresh();

  // Carries out a notification of one of the panel's controls; false when it is not one (another
  // control, a control outside the root or added after binding, or a type the control does not
  // act on).
  bool HandleNotification(const Notification& notification);

  // The scale of the DPI conversions, from the host's device information.
  DpiScale Scale() const;

  // Control names.
  static QString StageControl(const char* prefix, int stage);

 private:
  QWidget* Control(const QString& name) const;
  template <typename T>
  T* Control(const QString& name) const {
    return qobject_cast<T*>(Control(name));
  }

  // Stage display: the DPI of `code` in the edit and on the slider.
  void ShowStageValue(int stage, int code, const DpiScale& scale);
  // The current-stage marks of all six rows and which enable options may be used.
  void ShowStageMarks(int current);
  void ShowStageEnabled(int stage, bool enabled);
  StageFlags EnabledOptions() const;
  // A new stage as row `stage` shows it.
  DpiStage StageFromRow(int stage, const DpiScale& scale) const;
  // None when a stage must be added while the scale is unknown.
  std::optional<std::vector<DpiStage>> StagesCovering(int stage, const DpiScale& scale) const;
  void StoreStages(const std::vector<DpiStage>& stages);
  void Finish(bool write);

  void ShowOptionRow(const char* prefix, int count, int value);
  void ShowSettings(const MouseSystemSettings& settings);
  void ShowPointerSettings(const MouseSystemSettings& settings);
  // The slider's value in `label`, with its `unit` (a text key) or, without one, on its scale.
  void ShowValueLabel(const char* label, const QSlider& slider, const char* unit);

  void BindStageRows(QWidget* root);
  void BindSettings(QWidget* root);
  void BindPointer(QWidget* root);
  void OnSliderChanged(int stage, bool dragging);
  void OnEditDone(int stage);
  void OnSelect(int stage);
  void OnEnable(int stage, bool on);
  void OnColour(int stage);
  void OnTab(int page);
  // A setting of MouseSystemSettings changed to `value`; `write` as for Finish.
  void StoreSetting(uint16_t MouseSystemSettings::*field, int value, bool write);

  MouseSettingsControl& host_;
  PageServices& services_;
  QPointer<QWidget> root_;
  ControlBindings bindings_;
  bool colour_window_open_ = false;
};

// Makes the layouts' tags "StageColourButton" and "KeyInfoList" create the panel's controls.
// Safe to call again.
void RegisterMouseSettingsControls();

}  // namespace vorlin
