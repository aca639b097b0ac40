#pragma once

// DevicePage: the page of one product in the main window, one widget type for every product. It
// builds itself from the product's layout (a picture of the device made of key and light
// buttons) and from what its device offers: the profile bar, the device's card and the function
// area with the lighting panel, and for a mouse its key, macro, recoil and settings panels.
//
// The page never touches the device object: it shows the device's last view (DeviceClient) and
// hands every change to the client, which carries it to the device's thread. It previews the
// device's lighting on its picture from the device's frame (atomics) with a timer of its own,
// which runs while the page can be seen and the device is connected.
//
// It is the panels' PageServices (message boxes, dialogs, colour window, input capture) and the
// key panel's KeyPicture.

#include <memory>
#include <optional>
#include <vector>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "catalogue/product_catalogue.h"
#include "devices/device_view.h"
#include "key_set/key_assignment_flow.h"
#include "profiles/profile_folders.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"
#include "ui/page_services.h"

class QBoxLayout;
class QLabel;

namespace vorlin {

class CDeviceHook;
class CDeviceKeyButtonUI;
class CDeviceOptionUI;
class CDeviceProfileUI;
class CLightControlUI;
class DeviceClient;
class DeviceFunctionArea;
class KeyMarkTarget;
class MousePanels;
struct DeviceLightingState;

class DevicePage : public QWidget, public PageServices, public KeyPicture {
  Q_OBJECT

 public:
  // The frame is repainted at most this often (about 60 times a second); it is taken every 10 ms
  // by cable and every 50 ms through the receiver.
  static constexpr int kRepaintIntervalMs = 16;
  static constexpr int kCableFrameMs = 10;
  static constexpr int kReceiverFrameMs = 50;
  // The width of the column of panels beside the picture, the same on every page (at 96 DPI).
  static constexpr int kSideColumnWidth = 460;

  // `client` and `lighting` (the device's) must outlive the page; `capture` may be null.
  DevicePage(const ProductEntry& product, const ProfileFolders& folders, DeviceClient& client,
             DeviceLightingState& lighting, CDeviceHook* capture, QWidget* parent = nullptr);
  ~DevicePage() override;

  // Builds the page; false when the product's layout cannot be built.
  bool Build();

  const ProductEntry& Product() const { return product_; }
  DeviceClient& Client() const { return client_; }
  const ProfileFolders& Folders() const { return folders_; }

  // ---- What the window gives the page ----

  void SetOption(CDeviceOptionUI* option);
  CDeviceOptionUI* Option() const;
  // The device's battery panel (in the window's power container).
  void SetPowerPanel(QWidget* panel);
  QWidget* PowerPanel() const { return power_panel_; }
  // Whether "Use on all devices" may be offered (several devices are shown).
  void SetSameModeAllowed(bool allowed);
  // The window is active (or under the pointer): the picture is repainted every frame.
  void SetWindowActive(bool active) { window_active_ = active; }

  // ---- The page ----

  // Which function panels the page shows (the view codes of function_view.h).
  void SetFunctionView(int view);
  int GetFunctionView() const { return function_view_; }
  // A notification of one of the page's controls; false when the sender is not on the page or
  // nothing on the page handles it.
  bool HandleNotification(const Notification& notification);

  QWidget* Picture() const { return picture_; }
  ControlBindings& Bindings() { return bindings_; }
  const std::vector<CDeviceKeyButtonUI*>& KeyButtons() const { return key_buttons_; }
  const std::vector<CDeviceKeyButtonUI*>& LightButtons() const { return light_buttons_; }
  CLightControlUI* LightPanel() const;
  CDeviceProfileUI* ProfileBar() const;
  MousePanels* Mouse() const { return mouse_.get(); }
  // Builds the panels that wait until they are first shown; false when none waited.
  bool BuildAllPanels();

  // Shows the device's frame on the key buttons (the lighting view only; the other views show
  // the keys' marks) and repaints the buttons whose light changed.
  void OutputFrame();
  bool FrameTimerRunning() const { return frame_timer_.isActive(); }

  // KeyPicture
  int SelectedKey() const override { return selected_key_; }
  void MarkKey(int index) override;
  void RefreshKeyList() override;
  void ShowChangedKeys() override;

  // PageServices
  int ShowMessage(const QString& text_key, bool question,
                  std::optional<int> argument = std::nullopt,
                  const QString& object = QString()) override;
  QString OpenFile(const QString& filter) override;
  QString SaveFile(const QString& filter) override;
  std::optional<ColourChoice> ChooseColour(uint32_t current, bool multi_colour,
                                           bool allow_multi_colour) override;
  bool StartCapture(int mode, std::function<void(const HookEvent&)> callback) override;
  void StopCapture() override;
  bool CaptureLimitedToWindow() const override;

 signals:
  // The outcome of a change the user made on this page.
  void reported(const vorlin::DeviceReport& report);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool BuildPicture(QBoxLayout* row);
  void BuildInfoColumn(QBoxLayout* column);
  void BuildFunctionArea(QBoxLayout* column);
  void CollectButtons(QWidget* root);
  void OnViewChanged();
  void OnReport(const DeviceReport& report);
  void ShowLighting();
  // The logo's tooltip names the effect the device plays.
  void ShowLogoTip();
  void ShowConnection();
  void ShowStatus();
  void ChooseLightColour(uint32_t current);
  void OnFactoryReset();
  void UpdateFrameTimer();
  bool KeyUnchanged(int index) const;
  std::vector<KeyMarkTarget*> MarkTargets() const;

  ProductEntry product_;
  ProfileFolders folders_;
  DeviceClient& client_;
  DeviceLightingState& lighting_;
  CDeviceHook* capture_;

  QPointer<CDeviceOptionUI> option_;
  QPointer<QWidget> power_panel_;
  QPointer<CDeviceProfileUI> profile_bar_;
  QPointer<CLightControlUI> light_panel_;
  QPointer<QWidget> picture_;
  QPointer<QLabel> connection_;
  QPointer<DeviceFunctionArea> function_area_;
  std::unique_ptr<MousePanels> mouse_;

  std::vector<CDeviceKeyButtonUI*> light_buttons_;
  std::vector<CDeviceKeyButtonUI*> key_buttons_;
  // Other lit parts of the picture (the mouse's logo): the frame entry each shows, from the
  // layout's "frameEntry" property.
  std::vector<std::pair<CDeviceKeyButtonUI*, size_t>> frame_lights_;
  QPointer<CDeviceKeyButtonUI> logo_;
  int selected_key_ = -1;
  int function_view_ = 1;
  bool window_active_ = true;
  // The mode list as last shown (it is rebuilt only when it changes).
  std::vector<LightModeName> shown_builtin_;
  std::vector<std::string> shown_custom_;
  // The handlers of the page's own controls (the lighting panel, the function tabs), bound once.
  ControlBindings bindings_;
  QTimer frame_timer_;
  QElapsedTimer last_repaint_;
};

// Deletes the user's colour presets and gives back the default music colour groups: what
// "restore factory settings" does beside the device's own settings. `user_data_root` holds both.
void ResetSharedLightingFiles(const ProfileFolders& folders);

}  // namespace vorlin
