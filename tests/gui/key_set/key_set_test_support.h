#pragma once

// A window holding one key-assignment panel whose notifications go to its editing flow, as the
// device page hands them on, and a device stand-in that keeps a key list and notes every call.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QString>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "devices/device_capabilities.h"
#include "devices/device_view.h"
#include "input/function_code.h"
#include "key_set/key_assignment_flow.h"
#include "key_set/key_set_control_ui.h"
#include "support/page_services_stub.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin::testing {

inline KeyAssignment Assignment(uint16_t key_index, uint32_t packed) {
  KeyAssignment assignment;
  assignment.key_index = key_index;
  assignment.SetPackedCode(packed);
  return assignment;
}

inline KeyAssignmentPair Pair(uint16_t key_index, uint32_t current, uint32_t factory) {
  return {Assignment(key_index, current), Assignment(key_index, factory)};
}

inline uint32_t CurrentCode(const KeyAssignmentPair& pair) {
  return pair.current.PackedCode();
}

inline std::string Hex(uint32_t packed) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", packed);
  return text;
}

// The mouse's buttons: left, right, middle, back, forward, DPI cycle, each with its factory code.
inline std::vector<KeyAssignmentPair> MouseKeys() {
  const uint32_t codes[] = {0x100100, 0x100200, 0x100400, 0x100800, 0x101000, 0x130300};
  std::vector<KeyAssignmentPair> keys;
  for (uint16_t i = 0; i < 6; ++i) keys.push_back(Pair(i, codes[i], codes[i]));
  return keys;
}

// A few keyboard keys: A, B, Esc, left Ctrl.
inline std::vector<KeyAssignmentPair> KeyboardKeys() {
  const uint32_t codes[] = {0x200004, 0x200005, 0x200029, 0x200100};
  std::vector<KeyAssignmentPair> keys;
  for (uint16_t i = 0; i < 4; ++i)
    keys.push_back(Pair(static_cast<uint16_t>(10 + i), codes[i], codes[i]));
  return keys;
}

// The device, the page's picture and the page's services at once: keeps the key list, answers
// as told and notes every call in order. Applying reports back to the flow at once, as the
// device's report would: the macros' result as told, the key table written unless told not.
class FakeKeyHost : public KeyAssignmentControl, public KeyPicture, public StubPageServices {
 public:
  // KeyAssignmentControl
  int DeviceKind() const override { return kind; }
  std::vector<KeyAssignmentPair> KeyList() const override { return keys; }
  std::vector<std::string> MacroNames() const override { return {}; }
  bool ProfileReadable() const override { return readable; }
  void SetKeyEntry(int index, const KeyAssignmentPair& pair) override {
    calls.push_back("SetKeyEntry(" + Hex(pair.current.PackedCode()) + ")");
    keys.at(static_cast<size_t>(index)) = pair;
  }
  void ApplyKeyAssignments() override {
    calls.push_back("ApplyKeyAssignments");
    DeviceReport report;
    report.action = DeviceReport::Action::kKeys;
    report.macroResult = download_result;
    const bool written = download_result <= 0 && store_ok;
    report.outcome =
        written && download_result == 0 ? ChangeOutcome::kWritten : ChangeOutcome::kFailed;
    report.keysWritten = written;
    if (flow) flow->ApplyFinished(report);
  }
  // KeyPicture
  int SelectedKey() const override { return selected; }
  void MarkKey(int index) override {
    calls.push_back("MarkKey(" + std::to_string(index) + ")");
    selected = index;
  }
  void RefreshKeyList() override { calls.push_back("RefreshKeyList"); }
  void ShowChangedKeys() override { calls.push_back("ShowChangedKeys"); }
  // PageServices
  int ShowMessage(const QString& text_key, bool, std::optional<int> argument,
                  const QString&) override {
    calls.push_back("ShowMessage(" + text_key.toStdString() + ")");
    messages.emplace_back(text_key, argument);
    return 1;
  }

  KeyAssignmentFlow* flow = nullptr;
  int kind = kKeySetMouse;
  std::vector<KeyAssignmentPair> keys = MouseKeys();
  int selected = -1;
  bool readable = true;
  int download_result = 0;
  bool store_ok = true;
  std::vector<std::string> calls;
  std::vector<std::pair<QString, std::optional<int>>> messages;
};

// Hands the window's notifications to the flow, as the device page does.
class FlowRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (flow && flow->HandleNotification(n)) handled << n.type + u':' + n.SenderName();
  }
  KeyAssignmentFlow* flow = nullptr;
  QStringList handled;
};

// A window with the panel, its flow and a fake device, in English.
class KeySetFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    auto* box = new QVBoxLayout(&window_);
    panel_ = new CKeySetControlUI(&window_);
    box->addWidget(panel_);
    ASSERT_TRUE(panel_->Attach());
    flow_ = std::make_unique<KeyAssignmentFlow>(*panel_, host_, host_, host_);
    host_.flow = flow_.get();
    router_.flow = flow_.get();
    NotifyBridge::Install(&window_, &router_);
    SetDeviceKind(kKeySetMouse);
    panel_->SetMacroNames(
        {QStringLiteral("Combo one"), QStringLiteral("Combo two"), QStringLiteral("Combo three")});
  }

  void SetDeviceKind(int kind) {
    host_.kind = kind;
    host_.keys = kind == kKeySetKeyboard ? KeyboardKeys() : MouseKeys();
    panel_->SetDeviceKind(kind);
  }

  template <typename T = QWidget>
  T* Find(const char* name) const {
    return panel_->Control<T>(name);
  }

  // Chooses the function item tagged `kind` as the user does (with its notification).
  void ChooseKind(int kind) {
    auto* combo = Find<QComboBox>("keyset_function_combo");
    ASSERT_NE(combo, nullptr);
    for (int i = 0; i < combo->count(); ++i) {
      if (combo->itemData(i, Qt::UserRole).toInt() == kind) {
        {
          // Choosing the item already shown raises nothing: start from no selection.
          NotificationBlocker quiet;
          combo->setCurrentIndex(-1);
        }
        combo->setCurrentIndex(i);
        return;
      }
    }
    FAIL() << "no function item tagged " << kind;
  }

  void Choose(const char* combo_name, int index) {
    auto* combo = Find<QComboBox>(combo_name);
    ASSERT_NE(combo, nullptr) << combo_name;
    combo->setCurrentIndex(index);
  }

  void Type(const char* edit_name, const QString& text) {
    auto* edit = Find<QLineEdit>(edit_name);
    ASSERT_NE(edit, nullptr) << edit_name;
    edit->setText(text);
  }

  void Click(const char* button_name) {
    auto* button = Find<QAbstractButton>(button_name);
    ASSERT_NE(button, nullptr) << button_name;
    button->click();
  }

  int CurrentPage() const {
    auto* tabs = Find<QStackedWidget>("function_switch_tablayout");
    return tabs ? tabs->currentIndex() : -1;
  }

  bool Checked(int option) const {
    auto* button = panel_->Control<QAbstractButton>(
        QString(QStringLiteral("key_ComBox_check_%1").arg(option)).toLatin1().constData());
    return button && button->isChecked();
  }

  QString KeyText() const {
    auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
    return edit ? edit->text() : QStringLiteral("<no edit>");
  }

  static QString English(const char* key) {
    return Translator::Instance().Text(QString::fromUtf8(key));
  }

  QWidget window_;
  CKeySetControlUI* panel_ = nullptr;
  FakeKeyHost host_;
  std::unique_ptr<KeyAssignmentFlow> flow_;
  FlowRouter router_;
};

}  // namespace vorlin::testing
