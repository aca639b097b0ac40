#pragma once

// The update page of the settings window: asks the update server about the program and every
// connected device, lets the user tick what to update, shows the downloads and installers at work
// and takes the installers' reports. The work itself is an UpdateSession (src/online/); this is
// its face on the page. A session starts each time the window opens and is stopped (its threads
// joined) when it closes; the window may not close while a row is on its way.
//
// Controls (all in "setwnd.xml"):
//   "Update_Status_text", "update_status_ring", "update_status_image"   the page's status
//   "update_list"        the rows (CUpdateInfoListItemUI), each with "check_name_select"
//   "get_update_tab_layout"  page 0 the list, page 1 the confirmation
//   "update_fw_and_ap"   asks for the confirmation; "update_OK_btn" starts the update;
//   "laterbtn"           closes the window

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "online/update_server.h"
#include "online/update_session.h"
#include "ui/notification.h"

class QWidget;

namespace vorlin {

class CUpdateInfoListItemUI;

struct UpdatePageServices {
  // The rows to ask about; called on the check worker's thread.
  std::function<std::vector<SupportedDeviceEntry>()> targets;
  // Where and how to ask; read each time the window opens.
  std::function<UpdateServer()> server;
  // "updatetime.config" in the user's data folder.
  std::string updateTimePath;
  // The page's status changed (the main window shows the badge or clears it).
  std::function<void(int window_status)> statusChanged;
  // Asks the window to close (after "laterbtn").
  std::function<void()> close;
};

class CUpdatePage : public QObject {
  Q_OBJECT

 public:
  CUpdatePage(QWidget* window, UpdatePageServices services);
  ~CUpdatePage() override;

  // Starts asking (unless a session already runs).
  void Open();
  // Whether the window may close now; when it may, the session is stopped.
  bool TryClose();
  // Stops the session (joins its workers). Idempotent.
  void Stop();
  // Handles the page's notifications; false for those of other controls.
  bool Notify(const Notification& notification);
  void OnInstallerReport(int code, int value);

  UpdateSession* Session() const { return session_.get(); }
  int WindowStatus() const { return window_status_; }
  size_t RowCount() const { return items_.size(); }
  CUpdateInfoListItemUI* Row(size_t index) const;

 private:
  void Refresh();
  void ShowWindowStatus(int status);
  void ShowTab(int page);

  QWidget* window_;
  UpdatePageServices services_;
  std::string server_error_;
  std::string last_check_date_;
  std::unique_ptr<UpdateSession> session_;
  std::vector<std::unique_ptr<CUpdateInfoListItemUI>> items_;
  std::vector<std::string> files_;
  int window_status_ = -1;
  int start_failures_seen_ = 0;
};

}  // namespace vorlin
