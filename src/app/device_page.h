#pragma once

// The device pages: one per device option row, created at start-up and kept for the whole run.
// A page is at once the device's view and its object: discovery hands it its command interface
// (through its DeviceLink) and its event interface, and the main window passes it the window
// state it follows (active, hidden, host lighting).
//
// CDevicePage holds what every device kind shares; the device classes of each family derive from
// it and register their creator with DevicePageFactory, replacing the placeholder page that shows
// the family's picture until then.

#include <functional>
#include <memory>
#include <optional>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/device_rows.h"
#include "hid/device_tables.h"

class QLabel;

namespace vorlin {
class DeviceLink;
}

namespace vorlin {

class CDeviceOptionUI;

// What the page is told when it is created (in this order, then Attach()).
struct DevicePageInit {
  QString layout;
  int lightCount = 0;
  int keyCount = 0;
  int pageRow = -1;
  int statusPanel = 0;
  int mouseValue = -1;
  QString dataName;
  QWidget* powerPanel = nullptr;
  InterfaceEntry key;
  int lightIndex = 0;
  QString lightConfigName;
};

class CDevicePage : public QWidget {
  Q_OBJECT

 public:
  explicit CDevicePage(DeviceFamily family, QWidget* parent = nullptr);
  ~CDevicePage() override;

  DeviceFamily Family() const { return family_; }

  // Stores the creation values and builds the page from its layout. False when the layout cannot
  // be built.
  virtual bool Attach(const DevicePageInit& init);
  const DevicePageInit& Init() const { return init_; }

  // The key discovery finds the page by (its cable command row).
  const InterfaceEntry& Key() const { return key_; }
  void StoreKey(const InterfaceEntry& key, uint16_t kind, uint16_t role);
  uint16_t ConnectedKind() const { return kind_; }

  void SetOption(CDeviceOptionUI* option);
  CDeviceOptionUI* Option() const;

  DeviceLink& Link() { return *link_; }
  // Whether the command link is open (the device is connected).
  bool LinkOpen() const;
  bool OnReceiver() const { return on_receiver_; }
  void SetOnReceiver(bool on) { on_receiver_ = on; }

  // The device's option has just been bound (start-up timer): read the device's state.
  virtual void StartUp();
  // The command interfaces went away: the link is already closed.
  virtual void Disconnected();
  // The event interface of a connection (cable or receiver kind).
  virtual void OpenEventInterface(const std::string& path, uint16_t kind);
  virtual void CloseEventInterface(uint16_t kind);

  // Window state the device follows.
  virtual void SetWindowActive(bool active) { window_active_ = active; }
  virtual void SetWindowHidden(bool hidden) { window_hidden_ = hidden; }
  // Whether this program drives the device's lighting (the light-control state).
  virtual void SetHostLighting(bool on) { host_lighting_ = on; }
  // The language changed: reload the name lists.
  virtual void ReloadNameLists() {}
  // Leave the synchronised lighting mode (no other device is shown any more).
  virtual void LeaveSynchronisedLighting();

  bool WindowActive() const { return window_active_; }
  bool WindowHidden() const { return window_hidden_; }
  bool HostLighting() const { return host_lighting_; }

  // Closes the link's interfaces (the device's workers first, in the device classes).
  virtual void Shutdown();

 signals:
  // The device asks for its option to be shown (it answered through the receiver) or hidden.
  void OptionShowRequested(int pageRow, bool show);

 protected:
  DevicePageInit init_;

 private:
  DeviceFamily family_;
  InterfaceEntry key_;
  uint16_t kind_ = 0;
  uint16_t role_ = 0;
  QPointer<CDeviceOptionUI> option_;
  std::unique_ptr<DeviceLink> link_;
  bool on_receiver_ = false;
  bool window_active_ = false;
  bool window_hidden_ = false;
  bool host_lighting_ = true;
};

// The page shown for a family whose device class is not there: the family's picture from the page
// layout, its name and its connection.
class CPlaceholderDevicePage : public CDevicePage {
  Q_OBJECT

 public:
  using CDevicePage::CDevicePage;
  bool Attach(const DevicePageInit& init) override;
  void StartUp() override;
  void Disconnected() override;

 private:
  void ShowConnection();
  QLabel* connection_ = nullptr;
};

// Creates the page of a family: the registered device class, else the placeholder.
class DevicePageFactory {
 public:
  using Creator = std::function<std::unique_ptr<CDevicePage>()>;
  static DevicePageFactory& Instance();
  void Register(DeviceFamily family, Creator creator);
  std::unique_ptr<CDevicePage> Create(DeviceFamily family) const;

 private:
  Creator creators_[4];
};

}  // namespace vorlin
