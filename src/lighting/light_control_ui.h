#pragma once

// The lighting panel of the device pages: effect list, brightness and speed, direction, colour
// (number edits, palette, colour button and presets), the keyboard's synchronised-mode and custom
// group lists, and the music lighting's colours. The panel holds no settings of its own: the page
// (and the panel's notification handlers, light_panel_handlers.h) put the device's light words
// and music settings into it and read them back.
//
// Its controls come from "XML/CustomControlXML/LightControl.xml": either the page's layout puts
// that tree inside the panel (tag "LightSetControlUI"), or the panel builds it on first use. A
// control the layout lacks is passed over by the plain getters and setters (they return 0, -1, an
// empty text or opaque black); the three music operations instead fail with LightPanelError,
// because a half-read music setting must never be stored.

#include <cstdint>
#include <stdexcept>
#include <vector>

#include <QString>
#include <QStringList>
#include <QWidget>

#include "lighting/light_modes.h"
#include "profiles/light_records.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSlider;

namespace vorlin {

class ColorPalette;

// What the music operations report when the layout lacks a control they need; what() is one of
// the texts below.
class LightPanelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr char kGetAudioLightError[] = "GetAudioLightInfo control is NULL";
inline constexpr char kSetAudioLightError[] = " SetAudioLightInfo control is NULL";
inline constexpr char kGetAudioColourError[] = "GetLightAudioColor control is NULL";

class CLightControlUI : public QWidget {
  Q_OBJECT

 public:
  static constexpr char kLayout[] = "XML/CustomControlXML/LightControl.xml";
  // Height of an item of the effect list at 96 DPI.
  static constexpr int kModeItemHeight = 30;

  explicit CLightControlUI(QWidget* parent = nullptr);
  ~CLightControlUI() override;

  // The light words: effect, brightness, speed, direction (word 0), multi-colour flag and red,
  // green, blue (word 1), synchronised mode (word 2, bits 24-31). Shown without notifications.
  void SetLightWords(const LightWords& words);
  // `base` with the fields the panel shows replaced by what its controls hold (a missing control
  // keeps the field of `base`).
  LightWords GetLightWords(const LightWords& base) const;

  // The effect list's selection: 0 without the list, -1 when nothing is selected.
  int GetMode() const;
  int GetBrightness() const;
  int GetSpeed() const;
  // The colour edits' texts, as typed.
  QString GetRedText() const;
  QString GetGreenText() const;
  QString GetBlueText() const;
  // 0xFFRRGGBB of the palette; 0xFF000000 without one.
  uint32_t GetPaletteColour() const;
  int GetMultiColour() const;
  // 1 while "deng_FXL_check" is selected, else 0.
  int GetDirection() const;
  int GetSyncMode() const;
  // The custom group list's selection; -1 without the list.
  int GetCustomMode() const;
  void SetCustomMode(int index);

  // Single fields, shown without notifications.
  void SelectMode(int mode);
  void SetBrightness(int value);
  void SetSpeed(int value);
  void SetDirection(int direction);
  void SetMultiColour(bool on);
  void SetSyncMode(int index);
  // The colour: the edits show the three numbers ("%d"); the palette and the colour button take
  // 0xFF000000 | red << 16 | green << 8 | blue.
  void SetColourEdits(int red, int green, int blue);
  void SetPaletteColour(uint32_t argb);
  void SetColourButton(uint32_t argb);
  void ShowColour(uint32_t argb);  // all three

  // Fills the effect list with one item per name key (text through the language, user data the
  // key); an item whose flag is 0 (or missing) cannot be chosen. Sets the sliders' maxima.
  void SetModeList(const QStringList& name_keys, const std::vector<int>& enabled,
                   int brightness_max, int speed_max);

  // The device kind's table of effect views (1, 2, 3, 4, 5 or 7).
  void SetLightType(int light_type) { light_type_ = light_type; }
  int LightType() const { return light_type_; }
  // Whether "deng_same_mode" may be shown (the page allows it while several devices are shown).
  // It is shown while both this and the current effect allow it.
  void SetSameModeAllowed(bool allowed);
  // Puts the view of effect `mode` of the light type on the controls.
  void ApplyMode(int mode);

  // The music lighting. These throw LightPanelError when a control they use is missing; nothing
  // is changed then.
  // Shows the style, the colour of the selected side in the edits, palette and colour button, and
  // the multi-colour flag (its check is usable only on the foreground side); style 3 turns the
  // colour groups off.
  void SetAudioLight(const AudioLightSettings& settings);
  // `stored` with the music style, the multi-colour flag and the colour side the controls hold;
  // with `store_button_colour` the colour button's colour goes into the side now selected.
  AudioLightSettings GetAudioLight(const AudioLightSettings& stored,
                                   bool store_button_colour) const;
  uint32_t GetAudioPaletteColour() const;

  // The preset colours (background colours of "color_option_"n and "audiocolor_option_"n);
  // 0xFF000000 for a preset the layout lacks.
  uint32_t GetPresetColour(int index) const;
  uint32_t GetAudioPresetColour(int index) const;

  // A control of the panel's tree by name (builds the tree on first use).
  QWidget* Control(const QString& name) const;
  template <typename T>
  T* Control(const char* name) const {
    return qobject_cast<T*>(Control(QString::fromLatin1(name)));
  }

 signals:
  // The colour buttons were clicked; the colour window opens from here.
  void colourButtonClicked(uint32_t colour);
  void audioColourButtonClicked(uint32_t colour);

 protected:
  // Dims the palettes while they are off (they draw themselves, the stylesheet cannot).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void EnsureBuilt() const;
  void ConnectOwnControls();
  void UpdateSameModeVisibility();
  void ApplyPart(LightPart part, const LightPartState& state);

  mutable bool built_ = false;
  int light_type_ = 0;
  bool same_mode_allowed_ = false;
  bool same_mode_wanted_ = false;
};

// Makes the layouts' tags "LightControl"/"CLightControlUI" create the panel, "LightSetControlUI"
// build its control tree and "LightSwatchButton" create its colour buttons. Safe to call again.
void RegisterLightControls();

}  // namespace vorlin
