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
#include "lighting/lighting_target.h"
#include "profiles/light_records.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
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

// The device side: keeps the words and music settings and notes every call.
class RecordingTarget : public LightingTarget {
 public:
  LightWords GetLightWords() const override {
    calls.push_back("GetLightWords");
    return words;
  }
  void SetLightWords(uint32_t w0, uint32_t w1, uint32_t w2, uint16_t w3) override {
    calls.push_back("SetLightWords");
    words = {w0, w1, w2, w3};
  }
  AudioLightSettings GetAudioLightSettings() const override {
    calls.push_back("GetAudioLightSettings");
    return audio;
  }
  void SetAudioLightSettings(const AudioLightSettings& settings) override {
    calls.push_back("SetAudioLightSettings");
    audio = settings;
  }
  void SaveProfile() override { calls.push_back("SaveProfile"); }
  int ApplyLighting() override {
    calls.push_back("ApplyLighting");
    return 1;
  }
  int WriteParamRecord(int profile, int value1, int value2, int width, int height) override {
    calls.push_back("WriteParamRecord(" + std::to_string(profile) + "," + std::to_string(value1) +
                    "," + std::to_string(value2) + "," + std::to_string(width) + "," +
                    std::to_string(height) + ")");
    return 1;
  }
  void ClearLightingHold() override { calls.push_back("ClearLightingHold"); }

  // The calls that change the device, without the reads.
  std::vector<std::string> Changes() const {
    std::vector<std::string> out;
    for (const std::string& call : calls)
      if (call.rfind("Get", 0) != 0) out.push_back(call);
    return out;
  }
  LightSettings Settings() const { return LightSettingsFromWords(words); }

  LightWords words;
  AudioLightSettings audio;
  mutable std::vector<std::string> calls;
};

// "WriteParamRecord(0,0,1,<screen>)" as the handlers send it.
inline std::string RecordCall() {
  const QSize screen = ScreenSizeForRecords();
  return "WriteParamRecord(0,0,1," + std::to_string(screen.width()) + "," +
         std::to_string(screen.height()) + ")";
}

// Hands the window's notifications to the panel's handlers, as the main window does, and notes
// which ones were taken.
class PanelRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (!panel || !target) return;
    if (HandleLightPanelNotification(n, *panel, *target)) handled << n.type + u':' + n.SenderName();
  }
  CLightControlUI* panel = nullptr;
  LightingTarget* target = nullptr;
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
    router_.panel = panel_;
    router_.target = &target_;
    window_->resize(360, 900);
    window_->show();
  }
  void TearDown() override {
    router_.panel = nullptr;
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
