#pragma once

// A shown window (offscreen) holding the mouse settings layouts, with the window's notifications
// routed to a MouseSettingsPanel as the device page routes them, and a mouse stand-in that keeps
// the profile's values and notes every change asked of it.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "devices/device_capabilities.h"
#include "support/page_services_stub.h"
#include "mouse_settings/mouse_settings_panel.h"
#include "profiles/device_settings.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"
#include "support/qt_test_support.h"

namespace vorlin::testing {

// A device information record with the given scale.
inline std::vector<uint8_t> DeviceInfoWith(int step, int base, uint16_t sensor = 0x1234) {
  std::vector<uint8_t> info(34, 0);
  info[9] = static_cast<uint8_t>(sensor & 0xFF);
  info[10] = static_cast<uint8_t>(sensor >> 8);
  info[11] = static_cast<uint8_t>(step);
  info[14] = static_cast<uint8_t>(base & 0xFF);
  info[15] = static_cast<uint8_t>(base >> 8);
  return info;
}

inline DpiStage Stage(uint8_t active, uint16_t code, uint32_t rgb = 0x102030) {
  DpiStage stage;
  stage.active = active;
  stage.dpi_x = code;
  stage.dpi_y = code;
  stage.red = static_cast<uint8_t>(rgb >> 16);
  stage.green = static_cast<uint8_t>(rgb >> 8);
  stage.blue = static_cast<uint8_t>(rgb);
  return stage;
}

// The mouse's settings and the page's services: notes every call in order.
class FakeMouseHost : public MouseSettingsControl, public StubPageServices {
 public:
  std::vector<uint8_t> DeviceInfo() const override { return info; }
  std::vector<DpiStage> DpiStages() const override { return stages; }
  int CurrentDpiStage() const override { return current; }
  MouseSystemSettings SystemSettings() const override { return settings; }

  void StoreDpiStages(const std::vector<DpiStage>& value) override {
    calls.push_back("StoreDpiStages");
    stages = value;
  }
  void StoreCurrentDpiStage(int stage) override {
    calls.push_back("StoreCurrentDpiStage(" + std::to_string(stage) + ")");
    current = stage;
  }
  void StoreSystemSettings(const MouseSystemSettings& value) override {
    calls.push_back("StoreSystemSettings");
    settings = value;
  }
  void CommitSettings(bool write) override {
    calls.push_back(write ? "CommitSettings(write)" : "CommitSettings(keep)");
  }
  std::optional<ColourChoice> ChooseColour(uint32_t current_colour, bool, bool) override {
    calls.push_back("ChooseColour");
    offered_colours.push_back(current_colour);
    if (while_choosing) while_choosing();
    if (!chosen_colour) return std::nullopt;
    return ColourChoice{*chosen_colour, false};
  }

  std::vector<uint8_t> info = DeviceInfoWith(50, 50);
  std::vector<DpiStage> stages;
  int current = 0;
  MouseSystemSettings settings;
  std::optional<uint32_t> chosen_colour;
  std::function<void()> while_choosing;
  std::vector<uint32_t> offered_colours;
  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;
// What a change the mouse understands asks for, and one it keeps in the profile only.
inline const Calls kStoredStagesAndWritten = {"StoreDpiStages", "CommitSettings(write)"};
inline const Calls kStoredSettingsAndWritten = {"StoreSystemSettings", "CommitSettings(write)"};
inline const Calls kStoredSettingsOnly = {"StoreSystemSettings", "CommitSettings(keep)"};

// Hands the window's notifications to the panel and notes which ones it took.
class PanelRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (panel && panel->HandleNotification(n)) handled << n.type + u':' + n.SenderName();
  }
  MouseSettingsPanel* panel = nullptr;
  QStringList handled;
};

class MouseSettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager::Instance().SetSkinFolder(SkinFolder());
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    RegisterMouseSettingsControls();
    window_ = std::make_unique<QWidget>();
    new QVBoxLayout(window_.get());
    NotifyBridge::Install(window_.get(), &router_);
    for (const char* layout : {MouseSettingsPanel::kSettingsLayout,
                               MouseSettingsPanel::kPointerLayout,
                               MouseSettingsPanel::kKeyInfoLayout}) {
      ASSERT_NE(AttachSubLayout(window_.get(), QString::fromLatin1(layout)), nullptr) << layout;
    }
    panel_ = std::make_unique<MouseSettingsPanel>(host_, host_);
    panel_->Bind(window_.get());
    router_.panel = panel_.get();
    window_->resize(420, 1400);
    window_->show();
  }
  void TearDown() override {
    router_.panel = nullptr;
    window_.reset();
  }

  template <typename T = QWidget>
  T* Control(const QString& name) const {
    return FindControl<T>(window_.get(), name);
  }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    return Control<T>(QString::fromLatin1(name));
  }
  template <typename T = QWidget>
  T* Row(const char* prefix, int stage) const {
    return Control<T>(MouseSettingsPanel::StageControl(prefix, stage));
  }
  void Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    button->click();
  }
  // Shows the host's values, then forgets what that asked for.
  void Refresh() {
    panel_->Refresh();
    host_.calls.clear();
  }
  bool Send(QWidget* sender, const char* type) {
    return panel_->HandleNotification(Notification{QString::fromLatin1(type), sender});
  }

  FakeMouseHost host_;
  PanelRouter router_;
  std::unique_ptr<QWidget> window_;
  std::unique_ptr<MouseSettingsPanel> panel_;
};

}  // namespace vorlin::testing
