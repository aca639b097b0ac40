#pragma once

// The macro panel of the mouse and keyboard pages (CMacroControlUI): the kind's macro list with
// new, rename, delete, import and export, and the editor of the selected macro's events:
// recording from captured input (append, or before, after or in place of the selected event),
// mouse button events and pointer moves inserted by hand, moving and deleting events and editing
// their delays. Every edit of the event list is saved at once, so the macro's file always holds
// what the list shows.
//
// Its controls come from "XML/CustomControlXML/MacroControl.xml": either the page's layout puts
// that tree inside the panel (tag "MacroControlUI"), or the panel builds it on first use. The
// documents are a MacroLibrary (profiles/macro_documents.h); recording is a MacroRecorder
// (macro_recorder.h); the input capture, the device side, messages and dialogs come from the
// page through MacroHost.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "macro/macro_recorder.h"
#include "profiles/macro_documents.h"
#include "profiles/macro_events.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

class QLineEdit;
class QListWidget;
class QMenu;

namespace vorlin {

class MacroKeysControl;
class PageServices;

class CMacroControlUI : public QWidget {
  Q_OBJECT

 public:
  static constexpr char kLayout[] = "XML/CustomControlXML/MacroControl.xml";
  static constexpr char kActionMenu[] = "XML/Menus/macro_action_menu.xml";
  static constexpr char kFileFilter[] = "Macro Files(*.mac)";
  // The newly recorded row is scrolled into view this long after it was placed.
  static constexpr int kScrollTimerId = 4101;
  static constexpr int kScrollDelayMs = 50;
  static constexpr int kRowHeight = 30;
  static constexpr int kDelayEditHeight = 25;

  // Milliseconds of a monotonic clock: the time of each recorded event.
  using Clock = std::function<uint64_t()>;
  // Shows the menu at a screen point and returns the chosen item's name (empty for none).
  using MenuRunner = std::function<QString(QMenu& menu, const QPoint& at)>;

  explicit CMacroControlUI(QWidget* parent = nullptr);
  ~CMacroControlUI() override;  // ends a running recording

  // The device's keys and the page's services (both must outlive the panel).
  void SetHost(MacroKeysControl* keys, PageServices* services) {
    keys_ = keys;
    services_ = services;
  }
  void SetClock(Clock clock);
  void SetMenuRunner(MenuRunner runner);
  void SetIdSource(MacroLibrary::IdSource source) { library_.SetIdSource(std::move(source)); }

  // The kind's user data folder; loads the macro list.
  void SetFolder(const std::string& folder);
  // Reads "macro.config" again and shows it, nothing selected.
  void LoadMacroList();

  // ---- The macro list ----
  // Shows macro `index` (-1 for none) and its events.
  void SelectMacro(int index);
  int SelectedMacro() const { return current_; }
  // These show their messages themselves; the buttons ask their questions first.
  MacroLibrary::Status NewMacro();
  MacroLibrary::Status RenameMacro();  // the name in "macro_edit_macroname"
  // Asks before deleting, and again when a key of the current profile plays the macro. True
  // when the macro was deleted.
  bool DeleteMacro();
  MacroLibrary::Status ImportMacro(const std::string& path);
  MacroLibrary::Status ExportMacro(const std::string& path);

  // ---- The events of the selected macro ----
  // Writes the list, with the delays as the edits show them, to the macro's file.
  bool SaveMacro();
  // Shows the macro's file again, dropping what was not saved.
  void CancelEdits();
  bool MoveEvent(EventMove move);
  bool DeleteEvent();
  bool DeleteAllEvents();
  // A menu item's mouse button events ("left_down", "right_click", ...) after the selected event.
  bool InsertMouseItem(const QString& item);
  // A pointer move with the distance of its edit, after the selected event.
  bool InsertMove(MoveDirection direction);
  // Carries out an item of the event menu.
  bool HandleMenuChoice(const QString& item);
  // Selects event row `row` (-1 for none), without notification.
  void SelectEvent(int row);
  const MacroEventList& Events() const { return events_; }
  const MacroLibrary& Library() const { return library_; }

  // ---- Recording ----
  // Starts a recording session with the delay mode of the start button ("macro_check_time"
  // checked: constant, else record time).
  bool StartRecording(RecordPlacement placement);
  bool StartRecording(RecordPlacement placement, DelayMode mode);
  // Ends the session and saves.
  void StopRecording();
  bool Recording() const { return recorder_.Recording(); }
  // A captured event (the input capture's callback).
  void OnHookEvent(const HookEvent& event);

  // Routes a notification of one of the panel's controls; false when it is not one.
  bool HandleNotification(const Notification& notification);

 signals:
  // The events of macro `number` were saved: a key that plays it makes the device's copy out of
  // date until the keys are applied.
  void macroEventsChanged(int number);

 private:
  void EnsureControls();
  // Binds the handlers of the layout's controls (once); the event rows bind theirs when made.
  void BindControls();
  void BindRow(QWidget* row);
  void OnImportClicked();
  void OnExportClicked();
  QWidget* Control(const char* name) const;
  void ShowMacroList();
  // Shows the list the library holds, nothing selected.
  void ShowLoadedList();
  void UpdateEnabled();
  void SetEditorLocked(bool locked);
  // Rebuilds every event row from events_.
  void ShowEvents();
  QWidget* MakeRow();
  void InsertRow(int index);
  void UpdateRow(int index);
  void ShowSelectedEvent();
  // Takes the delays typed into the rows into events_ and shows them normalised.
  void TakeEditedDelays();
  // Reads the fixed delay edit; tells the user when it had to be raised.
  void TakeFixedDelay();
  bool Editable() const;
  void OpenActionMenu(const QPoint& at);
  int RowOf(const QWidget* widget) const;
  void ListChanged();
  int Tell(const char* text_key);
  // The window's input capture in hook mode `mode` (keys and mouse buttons); false without one.
  bool StartCapture(int mode, std::function<void(const HookEvent&)> callback);
  void StopCapture();
  // A question about `object` (its name fills the text's "%1"), when it names one.
  bool Confirm(const char* text_key, const QString& object = QString());
  uint64_t Now() const { return clock_(); }

  MacroKeysControl* keys_ = nullptr;
  PageServices* services_ = nullptr;
  MacroLibrary library_;
  MacroRecorder recorder_;
  MacroEventList events_;
  int current_ = -1;
  uint16_t fixed_delay_ = kDefaultFixedDelay;
  Clock clock_;
  MenuRunner menu_runner_;
  QPointer<QListWidget> name_list_;
  QPointer<QListWidget> action_list_;
  QPointer<QLineEdit> name_edit_;
  ControlBindings bindings_;
  bool bound_ = false;
};

// Makes the layouts' tags "MacroControl"/"CMacroControlUI" create the panel and
// "MacroControlUI" build its control tree.
void RegisterMacroControls();

}  // namespace vorlin
