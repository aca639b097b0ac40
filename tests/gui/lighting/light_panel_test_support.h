#pragma once

// A window holding one lighting panel whose notifications go to the panel's handlers and a
// device stand-in that records what the handlers ask of it, in order.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "lighting/light_control_ui.h"
#include "lighting/light_panel_handlers.h"
#include "devices/device_capabilities.h"
#include "profiles/light_records.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/control_bindings.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"
#include "support/qt_test_support.h"

namespace vorlin::testing {

inline QString TestLayout(const char* name) {
  return QStringLiteral(VORLIN_SOURCE_DIR "/tests/gui/lighting/layouts/") + QLatin1String(name);
}

// Whether two colours differ by at most `steps` per channel. The palette keeps hue (in whole
// degrees), saturation and value, so a colour put into it comes back up to a few steps off.
inline bool NearColour(uint32_t a, uint32_t b, int steps = 5) {
  for (int shift : {0, 8, 16}) {
    const int da = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (da > steps || da < -steps) return false;
  }
  return (a >> 24) == (b >> 24);
}

// The device side: keeps the lighting and music settings and notes every change, in order:
// "SetLighting(leave)" (the device leaves the synchronised lighting first), "SetLighting(stay)",
// "SetAudioLighting".
class RecordingTarget : public LightingControl {
 public:
  LightSettings Lighting() const override { return LightSettingsFromWords(words); }
  AudioLightSettings AudioLighting() const override { return audio; }
  void SetLighting(const LightSettings& settings, bool leave_sync) override {
    calls.push_back(leave_sync ? "SetLighting(leave)" : "SetLighting(stay)");
    words = LightSettingsToWords(settings);
  }
  void SetAudioLighting(const AudioLightSettings& settings) override {
    calls.push_back("SetAudioLighting");
    audio = settings;
  }

  std::vector<std::string> Changes() const { return calls; }
  LightSettings Settings() const { return LightSettingsFromWords(words); }

  LightWords words;
  AudioLightSettings audio;
  std::vector<std::string> calls;
};

// Hands the window's notifications to the panel's handlers, as the main window does, and notes
// which ones were taken.
class PanelRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (bindings.Dispatch(n)) handled << n.type + u':' + n.SenderName();
  }
  // Binds the panel's controls to the target, as the page does when it builds the panel.
  void Bind(CLightControlUI& panel, LightingControl& target) { BindLightPanel(bindings, panel, target); }
  ControlBindings bindings;
  QStringList handled;
};

inline const QStringList& ModeKeys() {
  static const QStringList keys = {
      QStringLiteral("light_mode_wave"),      QStringLiteral("light_mode_steady"),
      QStringLiteral("light_mode_breathing"), QStringLiteral("light_mode_spectrum"),
      QStringLiteral("light_mode_snake"),     QStringLiteral("light_mode_dark"),
  };
  return keys;
}

// A shown window (offscreen) with one panel built from the skin's layout, light type 1, the
// mode list above with brightness and speed maxima 4.
class LightPanelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(SkinFolder());
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    window_ = std::make_unique<QWidget>();
    new QVBoxLayout(window_.get());
    NotifyBridge::Install(window_.get(), &router_);
    panel_ = new CLightControlUI(window_.get());
    window_->layout()->addWidget(panel_);
    BeforeFirstUse();
    panel_->SetLightType(1);
    panel_->SetModeList(ModeKeys(), {1, 1, 1, 1, 0, 1}, 4, 4);
    router_.Bind(*panel_, target_);
    window_->resize(360, 900);
    window_->show();
  }
  void TearDown() override {
    window_.reset();
  }
  // Runs before the panel is first used: a test may give it another layout here.
  virtual void BeforeFirstUse() {}

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return FindControl<T>(panel_, QString::fromLatin1(name));
  }
  QString Text(const char* edit) const { return Control<QLineEdit>(edit)->text(); }
  void Click(const char* name) {
    auto* button = Control<QAbstractButton>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  void LoseFocus(const char* edit) {
    SendNotification(Control(edit), QString::fromLatin1(notify::kKillFocus));
  }

  std::unique_ptr<QWidget> window_;
  PanelRouter router_;
  RecordingTarget target_;
  CLightControlUI* panel_ = nullptr;
};

}  // namespace vorlin::testing
