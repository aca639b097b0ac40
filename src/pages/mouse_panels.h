#pragma once

// The panels a mouse adds to its page: key assignment (with key capture and the list of every
// button's function), macros, recoil patterns, and the settings and pointer panels. They talk to
// the mouse through its DeviceClient's capabilities and to the page through PageServices and
// KeyPicture; a click on a button of the picture opens it in the key panel.
//
// The panels are offered on the page at once but built only when their tab is first shown or
// something asks for one (the accessors below build it): most users open few of them, and the
// window appears sooner. A panel built late shows the mouse's current view at once. Until then
// nothing of it exists, so what the mouse reports reaches only the panels that do.

#include <memory>

#include <QObject>
#include <QPointer>

#include "ui/control_bindings.h"
#include "ui/notification.h"

class QLabel;
class QListWidget;
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

  // Offers the panels on the page's function area (each is built when first needed) and binds
  // the picture's key buttons.
  void Build(DeviceFunctionArea& area);
  // Whether the panel of `view` (a view code of function_view.h) is built.
  bool Built(int view) const;
  // The mouse's view changed: the panels show it.
  void Refresh();
  // The outcome of a change the user made.
  void OnReport(const DeviceReport& report);
  // Every button's label and the name of its function, on the buttons and in the key list.
  void ShowKeyInformation();
  bool HandleNotification(const Notification& notification);

  // The panels, built now if they are not yet; null only when a panel cannot be built.
  CKeySetControlUI* KeyPanel();
  KeyAssignmentFlow* KeyFlow();
  CMacroControlUI* MacroPanel();
  CShootControlUI* ShootPanel();
  MouseSettingsPanel* SettingsPanel();

 private:
  // The translated name of the picture's button `key`; empty for a number beyond the table.
  static QString ButtonLabel(int key);
  // Builds the panel of `view` if it waits to be built.
  void Need(int view);
  void BuildKeyPanel();
  void BuildMacroPanel();
  void BuildShootPanel();
  // The settings and the pointer panel, together: one MouseSettingsPanel acts on both.
  void BuildSettingsPanels();
  void BindKeyButtons();
  // A panel built from a layout file; nullptr (logged) when the layout cannot be built.
  QWidget* SubLayoutPanel(const char* layout, const char* name);
  // Starts (on) or stops the input capture that feeds the key edit of the key panel.
  void CaptureKeys(bool on);
  void ShowMacroNames();

  DevicePage& page_;
  DeviceClient& client_;
  QPointer<DeviceFunctionArea> area_;
  std::unique_ptr<MouseSettingsPanel> settings_panel_;
  QPointer<CKeySetControlUI> key_panel_;
  int chosen_key_ = -1;  // the button of the picture the key panel changes; -1 before a click
  std::unique_ptr<KeyAssignmentFlow> key_flow_;
  QPointer<QLabel> capture_tip_;
  // The list of every button's function, under the key panel.
  QPointer<QListWidget> key_info_;
  QPointer<CShootControlUI> shoot_panel_;
  QPointer<CMacroControlUI> macro_panel_;
  std::vector<std::string> shown_macro_names_;
  // The picture's key buttons.
  ControlBindings bindings_;
};

}  // namespace vorlin
