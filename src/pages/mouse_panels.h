#pragma once

// The panels a mouse adds to its page: key assignment (with key capture and the list of every
// button's function), macros, recoil patterns, and the settings and pointer panels. They talk to
// the mouse through its DeviceClient's capabilities and to the page through PageServices and
// KeyPicture; a click on a button of the picture opens it in the key panel.

#include <memory>

#include <QObject>
#include <QPointer>

#include "ui/control_bindings.h"
#include "ui/notification.h"

class QLabel;
class QWidget;

namespace vorlin {

class CKeySetControlUI;
class CMacroControlUI;
class CShootControlUI;
class DeviceClient;
class DeviceFunctionArea;
class DevicePage;
class KeyAssignmentFlow;
class MouseSettingsPanel;
struct DeviceReport;

class MousePanels : public QObject {
  Q_OBJECT

 public:
  MousePanels(DevicePage& page, DeviceClient& client);
  ~MousePanels() override;

  // Puts the panels into the page's function area and binds the picture's key buttons.
  void Build(DeviceFunctionArea& area);
  // The mouse's view changed: the panels show it.
  void Refresh();
  // The outcome of a change the user made.
  void OnReport(const DeviceReport& report);
  // Every button's label and the name of its function, on the buttons and in the key list.
  void ShowKeyInformation();
  bool HandleNotification(const Notification& notification);

  CKeySetControlUI* KeyPanel() const;
  KeyAssignmentFlow* KeyFlow() const { return key_flow_.get(); }
  CMacroControlUI* MacroPanel() const;
  CShootControlUI* ShootPanel() const;
  MouseSettingsPanel* SettingsPanel() const { return settings_panel_.get(); }

 private:
  // The translated name of the picture's button `key`; empty for a number beyond the table.
  static QString ButtonLabel(int key);
  void BuildKeyPanel(DeviceFunctionArea& area);
  void BuildMacroPanel(DeviceFunctionArea& area);
  void BuildShootPanel(DeviceFunctionArea& area);
  void BuildSettingsPanels(DeviceFunctionArea& area);
  void BindKeyButtons();
  // A panel built from a layout file; nullptr (logged) when the layout cannot be built.
  QWidget* SubLayoutPanel(const char* layout, const char* name);
  // Starts (on) or stops the input capture that feeds the key edit of the key panel.
  void CaptureKeys(bool on);
  void ShowMacroNames();

  DevicePage& page_;
  DeviceClient& client_;
  std::unique_ptr<MouseSettingsPanel> settings_panel_;
  QPointer<CKeySetControlUI> key_panel_;
  int chosen_key_ = -1;  // the button of the picture the key panel changes; -1 before a click
  std::unique_ptr<KeyAssignmentFlow> key_flow_;
  QPointer<QLabel> capture_tip_;
  QPointer<CShootControlUI> shoot_panel_;
  QPointer<CMacroControlUI> macro_panel_;
  std::vector<std::string> shown_macro_names_;
  // The picture's key buttons.
  ControlBindings bindings_;
};

}  // namespace vorlin
