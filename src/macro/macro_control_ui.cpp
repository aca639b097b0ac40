#include "macro/macro_control_ui.h"

#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "macro/macro_event_text.h"
#include "devices/device_capabilities.h"
#include "ui/page_services.h"
#include "platform/log.h"
#include "ui/control_factory.h"
#include "ui/control_timers.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/menu_builder.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

constexpr char kNameList[] = "macro_name_list";
constexpr char kActionList[] = "macro_action_list";
constexpr char kNameEdit[] = "macro_edit_macroname";
constexpr char kActionRow[] = "macro_action";
constexpr char kDelayEdit[] = "macro_delay";
constexpr char kCheckTime[] = "macro_check_time";
constexpr char kFixedTimeEdit[] = "macro_fixed_time_edit";
constexpr char kStartButton[] = "macro_btn_starredio";
constexpr char kStopButton[] = "macro_btn_stopredio";
constexpr char kInsertMenuButton[] = "macro_btn_insert_menu";

// Enabled only while a macro is selected.
constexpr const char* kMacroControls[] = {"macro_action_layout", "mouse_move_layout",
                                          "macro_btn_export", "macro_btn_name_sub",
                                          "macro_btn_name_edit"};
// Locked while a recording runs.
constexpr const char* kLockedWhileRecording[] = {
    "macro_name_tab",    "macro_tab_macroaction_edit", "macro_tab_macrodelay_edit",
    "macro_action_list", "mouse_move_layout",          kInsertMenuButton};

// Questions and notices (language keys).
constexpr char kAskNew[] = "message_text_28";
constexpr char kAskDelete[] = "message_text_4";
constexpr char kAskDeleteInUse[] = "message_text_2";
constexpr char kNameTaken[] = "message_text_5";
constexpr char kNameBlank[] = "message_text_25";
constexpr char kTooManyMacros[] = "message_text_30";
constexpr char kLongMacro[] = "message_text_17";
constexpr char kDelayRaised[] = "message_text_31";
constexpr char kSaveFailed[] = "macro_save_failed_text";
constexpr char kImportRefused[] = "macro_import_refused_text";
constexpr char kExportFailed[] = "macro_export_failed_text";
constexpr char kRecordFailed[] = "macro_record_failed_text";
constexpr char kProfilesNotUpdated[] = "macro_profiles_not_updated_text";

struct Mover {
  const char* button;
  EventMove move;
};
constexpr Mover kMovers[] = {{"macro_btn_up", EventMove::kUp},
                             {"macro_btn_down", EventMove::kDown},
                             {"macro_btn_uptop", EventMove::kTop},
                             {"macro_btn_downbottom", EventMove::kBottom}};

struct MoveInsert {
  const char* button;
  const char* edit;
  MoveDirection direction;
};
constexpr MoveInsert kMoveInserts[] = {
    {"macro_inset_moveleftkey_btn", "mouse_x_left_edit", MoveDirection::kLeft},
    {"macro_inset_moverightkey_btn", "mouse_x_right_edit", MoveDirection::kRight},
    {"macro_inset_moveupkey_btn", "mouse_y_up_edit", MoveDirection::kUp},
    {"macro_inset_movedownkey_btn", "mouse_y_down_edit", MoveDirection::kDown}};

struct RecordItem {
  const char* item;
  RecordPlacement placement;
  std::optional<DelayMode> mode;  // none: as the start button chooses
};
constexpr RecordItem kRecordItems[] = {
    {"redio_previous_record_time", RecordPlacement::kBefore, std::nullopt},
    {"redio_previous_constant_time", RecordPlacement::kBefore, DelayMode::kConstant},
    {"redio_previous_ignore_time", RecordPlacement::kBefore, DelayMode::kIgnore},
    {"redio_later_record_time", RecordPlacement::kAfter, std::nullopt},
    {"redio_later_constant_time", RecordPlacement::kAfter, DelayMode::kConstant},
    {"redio_later_ignore_time", RecordPlacement::kAfter, DelayMode::kIgnore},
    {"macro_action_edit", RecordPlacement::kReplace, DelayMode::kIgnore}};

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

// A path from a dialog in the file system's own encoding.
std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

std::string NormalPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path normal = std::filesystem::weakly_canonical(path, error);
  return error ? path : normal.string();
}

CMacroControlUI::Clock MonotonicClock() {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  return [timer] { return static_cast<uint64_t>(timer->elapsed()); };
}

}  // namespace

CMacroControlUI::CMacroControlUI(QWidget* parent) : QWidget(parent), clock_(MonotonicClock()) {}

CMacroControlUI::~CMacroControlUI() {
  if (recorder_.Recording()) StopCapture();
}

void CMacroControlUI::SetClock(Clock clock) {
  clock_ = clock ? std::move(clock) : MonotonicClock();
}

void CMacroControlUI::SetMenuRunner(MenuRunner runner) {
  menu_runner_ = std::move(runner);
}

void CMacroControlUI::EnsureControls() {
  if (name_list_) return;
  name_list_ = FindControl<QListWidget>(this, QString::fromLatin1(kNameList));
  if (!name_list_ && AttachSubLayout(this, QString::fromLatin1(kLayout)))
    name_list_ = FindControl<QListWidget>(this, QString::fromLatin1(kNameList));
  if (!name_list_) qCWarning(lcVorlin) << "macro panel without" << kNameList;
  action_list_ = FindControl<QListWidget>(this, QString::fromLatin1(kActionList));
  name_edit_ = FindControl<QLineEdit>(this, QString::fromLatin1(kNameEdit));
  BindControls();
}

void CMacroControlUI::BindControls() {
  if (bound_) return;
  bound_ = true;
  using N = const Notification&;
  if (name_list_) {
    bindings_.BindControl(name_list_, notify::kItemSelect, [this](N) {
      if (Editable()) TakeEditedDelays();
      SelectMacro(name_list_->currentRow());
    });
  }
  if (action_list_) {
    bindings_.BindControl(action_list_, notify::kItemSelect,
                          [this](N) { events_.selected = action_list_->currentRow(); });
    // The newly recorded row comes into view (see OnHookEvent).
    bindings_.BindTimer(action_list_, kScrollTimerId, [this](N) {
      KillTimer(action_list_, kScrollTimerId);
      EnsureRowVisible(action_list_, events_.selected);
    });
  }
  if (name_edit_) bindings_.BindControl(name_edit_, notify::kReturn, [this](N) { RenameMacro(); });

  const auto on_click = [this](const char* name, std::function<void()> action) {
    bindings_.Bind(this, name, notify::kClick, [action = std::move(action)](N) { action(); });
  };
  on_click("macro_btn_name_add", [this] {
    if (Confirm(kAskNew)) NewMacro();
  });
  on_click("macro_btn_name_sub", [this] { DeleteMacro(); });
  on_click("macro_btn_name_edit", [this] { RenameMacro(); });
  on_click("macro_btn_save", [this] { SaveMacro(); });
  on_click("macro_btn_cancel", [this] { CancelEdits(); });
  on_click("macro_btn_import", [this] { OnImportClicked(); });
  on_click("macro_btn_export", [this] { OnExportClicked(); });
  on_click(kStartButton, [this] { StartRecording(RecordPlacement::kAppend); });
  on_click(kStopButton, [this] { StopRecording(); });
  on_click("macro_btn_delete", [this] { DeleteEvent(); });
  on_click("macro_btn_deleteall", [this] { DeleteAllEvents(); });
  for (const Mover& mover : kMovers)
    on_click(mover.button, [this, move = mover.move] { MoveEvent(move); });
  for (const MoveInsert& insert : kMoveInserts)
    on_click(insert.button, [this, direction = insert.direction] { InsertMove(direction); });
  // The menu opens below its button.
  bindings_.Bind(this, kInsertMenuButton, notify::kClick, [this](N n) {
    if (!recorder_.Recording() && Editable())
      OpenActionMenu(n.sender->mapToGlobal(QPoint(0, n.sender->height())));
  });
}

void CMacroControlUI::BindRow(QWidget* row) {
  using N = const Notification&;
  bindings_.BindControl(row, notify::kMenu, [this](N n) {
    if (recorder_.Recording()) return;
    SelectEvent(RowOf(n.sender));
    OpenActionMenu(QCursor::pos());
  });
  auto* delay = row->findChild<QLineEdit*>(QString::fromLatin1(kDelayEdit));
  if (!delay) return;
  // A delay typed into the row is saved when the edit is left or Enter is pressed.
  for (const char* type : {notify::kKillFocus, notify::kReturn}) {
    bindings_.BindControl(delay, type, [this](N) {
      if (!recorder_.Recording()) SaveMacro();
    });
  }
}

void CMacroControlUI::OnImportClicked() {
  if (!services_) return;
  const QString path = services_->OpenFile(QString::fromLatin1(kFileFilter));
  if (!path.isEmpty()) ImportMacro(LocalPath(path));
}

void CMacroControlUI::OnExportClicked() {
  if (!services_ || !Editable()) return;
  TakeEditedDelays();
  const QString path = services_->SaveFile(QString::fromLatin1(kFileFilter));
  if (!path.isEmpty()) ExportMacro(LocalPath(path));
}

QWidget* CMacroControlUI::Control(const char* name) const {
  return FindControl(this, QString::fromLatin1(name));
}

void CMacroControlUI::SetFolder(const std::string& folder) {
  library_.SetFolder(folder);  // reads the list
  ShowLoadedList();
}

void CMacroControlUI::LoadMacroList() {
  library_.Load();
  ShowLoadedList();
}

void CMacroControlUI::ShowLoadedList() {
  EnsureControls();
  ShowMacroList();
  SelectMacro(-1);
}

void CMacroControlUI::ShowMacroList() {
  if (!name_list_) return;
  NotificationBlocker quiet;
  const QSignalBlocker block(name_list_);
  name_list_->clear();
  const double scale = ScaleFactorForDpi(WindowDpi(window()));
  for (const MacroEntry& macro : library_.Macros()) {
    auto* item = new QListWidgetItem(FromUtf8(macro.name), name_list_);
    item->setSizeHint(QSize(0, static_cast<int>(kRowHeight * scale)));
  }
  // An empty list says how to fill it.
  if (QWidget* hint = FindControl(this, QStringLiteral("macro_empty_hint"))) {
    hint->setVisible(library_.Count() == 0);
  }
}

bool CMacroControlUI::Editable() const {
  return !library_.MacroPath(current_).empty();
}

void CMacroControlUI::UpdateEnabled() {
  const bool editable = Editable();
  for (const char* name : kMacroControls) {
    if (QWidget* control = Control(name)) control->setEnabled(editable);
  }
}

void CMacroControlUI::SelectMacro(int index) {
  EnsureControls();
  if (recorder_.Recording()) return;
  current_ = library_.Has(index) ? index : -1;
  if (name_list_) {
    NotificationBlocker quiet;
    const QSignalBlocker block(name_list_);
    name_list_->setCurrentRow(current_);
  }
  events_ = {};
  if (Editable()) events_.events = library_.ReadEvents(current_);
  ShowEvents();
  if (name_edit_) {
    name_edit_->setText(current_ >= 0
                            ? FromUtf8(library_.Macros()[static_cast<size_t>(current_)].name)
                            : QString());
  }
  UpdateEnabled();
}

// ---- Event rows ----

QWidget* CMacroControlUI::MakeRow() {
  const double scale = ScaleFactorForDpi(WindowDpi(window()));
  auto* row = new QWidget;
  row->setObjectName(QString::fromLatin1(kActionRow));
  row->setProperty("plain", true);
  row->setFixedHeight(static_cast<int>(kRowHeight * scale));
  auto* box = new QHBoxLayout(row);
  box->setContentsMargins(6, 0, 6, 0);
  box->setSpacing(6);
  auto* action = new QLabel(row);
  action->setProperty("role", QStringLiteral("lightlabel"));
  auto* state = new QLabel(row);
  auto* delay = new QLineEdit(row);
  delay->setObjectName(QString::fromLatin1(kDelayEdit));
  delay->setFixedHeight(static_cast<int>(kDelayEditHeight * scale));
  delay->setFixedWidth(static_cast<int>(64 * scale));
  delay->setAlignment(Qt::AlignCenter);
  delay->setStyleSheet(QStringLiteral("QLineEdit { background-color: #444444; }"));
  SetNumberOnly(delay, 0, kMaxMacroDelay);
  SetMaxChars(delay, 6);
  Translator::Instance().SetToolTipKey(delay, QStringLiteral("macro_delay_tip"));
  auto* unit = new QLabel(row);  // the delay's unit beside its number
  unit->setProperty("role", QStringLiteral("lightlabel"));
  Translator::Instance().SetTextKey(unit, QStringLiteral("unit_ms_text"));
  box->addWidget(action, 1);
  box->addWidget(state);
  box->addWidget(delay);
  box->addWidget(unit);
  return row;
}

void CMacroControlUI::InsertRow(int index) {
  if (!action_list_ || index < 0 || index > action_list_->count()) return;
  QWidget* row = MakeRow();
  auto* item = new QListWidgetItem;
  item->setSizeHint(QSize(0, row->height()));
  action_list_->insertItem(index, item);
  action_list_->setItemWidget(item, row);
  WireNotifications(row);
  BindRow(row);
  UpdateRow(index);
}

void CMacroControlUI::UpdateRow(int index) {
  QWidget* row = ListRow(action_list_, index);
  if (!row || index >= events_.Count()) return;
  const MacroEvent& event = events_.events[static_cast<size_t>(index)];
  const QList<QLabel*> labels = row->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
  if (labels.size() >= 2) {
    QLabel* action = labels[0];
    QLabel* state = labels[1];
    const QString key = FromUtf8(MacroEventTextKey(event));
    if (Translator::Instance().Text(key) != key) {
      Translator::Instance().SetTextKey(action, key);
    } else {
      action->setProperty(kTextKeyProperty, QVariant());
      action->setText(FromUtf8(FallbackKeyText(ToUtf8(key))));
    }
    const MacroStateStyle style = StateStyleOf(event);
    state->setProperty("labelstyle", QString::fromLatin1(StateStyleName(style)));
    state->setProperty("role", style == MacroStateStyle::kDown ? QStringLiteral("lightvalue")
                                                               : QStringLiteral("lightlabel"));
    if (style == MacroStateStyle::kText) {
      state->setProperty(kTextKeyProperty, QVariant());
      state->setText(QString::number(event.button));
    } else {
      Translator::Instance().SetTextKey(state, QString::fromLatin1(StateTextKey(style)));
    }
  }
  if (auto* delay = row->findChild<QLineEdit*>(QString::fromLatin1(kDelayEdit))) {
    NotificationBlocker quiet;
    delay->setText(QString::number(event.delay));
  }
}

void CMacroControlUI::ShowEvents() {
  if (!action_list_) return;
  NotificationBlocker quiet;
  const QSignalBlocker block(action_list_);
  action_list_->clear();
  for (int i = 0; i < events_.Count(); ++i) InsertRow(i);
  ShowSelectedEvent();
}

void CMacroControlUI::ShowSelectedEvent() {
  if (!action_list_) return;
  NotificationBlocker quiet;
  const QSignalBlocker block(action_list_);
  action_list_->setCurrentRow(events_.HasSelection() ? events_.selected : -1);
}

void CMacroControlUI::SelectEvent(int row) {
  events_.selected = row >= 0 && row < events_.Count() ? row : -1;
  ShowSelectedEvent();
}

void CMacroControlUI::TakeEditedDelays() {
  for (int i = 0; i < events_.Count(); ++i) {
    QWidget* row = ListRow(action_list_, i);
    auto* edit = row ? row->findChild<QLineEdit*>(QString::fromLatin1(kDelayEdit)) : nullptr;
    if (!edit) continue;
    MacroEvent& event = events_.events[static_cast<size_t>(i)];
    if (const std::optional<uint16_t> delay = ParseDelayText(ToUtf8(edit->text())))
      event.delay = *delay;
    UpdateRow(i);
  }
}

void CMacroControlUI::TakeFixedDelay() {
  auto* edit = FindControl<QLineEdit>(this, QString::fromLatin1(kFixedTimeEdit));
  if (!edit) return;
  const vorlin::FixedDelay fixed = ParseFixedDelay(ToUtf8(edit->text()));
  {
    NotificationBlocker quiet;
    edit->setText(QString::number(fixed.value));
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
  }
  fixed_delay_ = fixed.value;
  if (fixed.raised) Tell(kDelayRaised);
}

// ---- The macro list ----

void CMacroControlUI::ListChanged() {
  if (keys_) keys_->SetMacroNames(library_.Names());
}

MacroLibrary::Status CMacroControlUI::NewMacro() {
  EnsureControls();
  library_.Load();
  if (library_.Count() >= kMaxMacros) {
    ShowMacroList();
    SelectMacro(current_);
    Tell(kTooManyMacros);
    return MacroLibrary::Status::kLimitReached;
  }
  int number = -1;
  const MacroLibrary::Status status = library_.Add(NewMacroName(library_.Names()), &number);
  ShowMacroList();
  if (status != MacroLibrary::Status::kOk) {
    SelectMacro(current_);
    Tell(kSaveFailed);
    return status;
  }
  SelectMacro(number);
  ListChanged();
  return status;
}

MacroLibrary::Status CMacroControlUI::RenameMacro() {
  EnsureControls();
  if (!library_.Has(current_) || !name_edit_) return MacroLibrary::Status::kNoMacro;
  const QString typed = name_edit_->text();
  const MacroLibrary::Status status = library_.Rename(current_, ToUtf8(typed));
  switch (status) {
    case MacroLibrary::Status::kOk:
      if (name_list_ && name_list_->item(current_))
        name_list_->item(current_)->setText(
            FromUtf8(library_.Macros()[static_cast<size_t>(current_)].name));
      name_edit_->setText(FromUtf8(library_.Macros()[static_cast<size_t>(current_)].name));
      ListChanged();
      break;
    case MacroLibrary::Status::kNameBlank:
      Tell(kNameBlank);
      break;
    case MacroLibrary::Status::kNameTaken:
      Tell(kNameTaken);
      break;
    case MacroLibrary::Status::kWriteFailed:
      Tell(kSaveFailed);
      break;
    default:
      break;
  }
  return status;
}

bool CMacroControlUI::DeleteMacro() {
  EnsureControls();
  const int number = current_;
  if (!library_.Has(number) || recorder_.Recording()) return false;
  // The question names the macro, so the user sees what goes.
  const QString name = QString::fromStdString(library_.Macros()[static_cast<size_t>(number)].name);
  if (!Confirm(kAskDelete, name)) return false;
  if (keys_ && keys_->KeysUseMacro(number) && !Confirm(kAskDeleteInUse, name)) return false;

  // The list goes first: when it cannot be written nothing else changes.
  if (library_.Remove(number) != MacroLibrary::Status::kOk) {
    Tell(kSaveFailed);
    return false;
  }
  std::vector<std::string> others;
  const std::string current = keys_ ? NormalPath(keys_->CurrentProfileDocument()) : std::string();
  for (const std::string& path : ProfileDocumentsOfFolder(library_.Folder())) {
    if (current.empty() || NormalPath(path) != current) others.push_back(path);
  }
  const std::vector<std::string> failed = RenumberMacroCallsInFiles(others, number);
  if (keys_) keys_->MacroRemoved(number);

  ShowMacroList();
  SelectMacro(library_.Count() > 0 ? 0 : -1);
  ListChanged();
  if (!failed.empty()) Tell(kProfilesNotUpdated);
  return true;
}

MacroLibrary::Status CMacroControlUI::ImportMacro(const std::string& path) {
  EnsureControls();
  library_.Load();
  int number = -1;
  const MacroLibrary::Status status = library_.Import(path, &number);
  ShowMacroList();
  switch (status) {
    case MacroLibrary::Status::kOk:
      SelectMacro(number);
      ListChanged();
      return status;
    case MacroLibrary::Status::kLimitReached:
      Tell(kTooManyMacros);
      break;
    case MacroLibrary::Status::kRefused:
      Tell(kImportRefused);
      break;
    default:
      Tell(kSaveFailed);
      break;
  }
  SelectMacro(current_);
  return status;
}

MacroLibrary::Status CMacroControlUI::ExportMacro(const std::string& path) {
  EnsureControls();
  if (!Editable()) return MacroLibrary::Status::kNoMacro;
  TakeEditedDelays();
  const MacroLibrary::Status status = library_.Export(current_, path, events_.events);
  if (status != MacroLibrary::Status::kOk) Tell(kExportFailed);
  return status;
}

// ---- The events ----

bool CMacroControlUI::SaveMacro() {
  EnsureControls();
  if (!Editable()) return false;
  TakeEditedDelays();
  if (library_.SaveEvents(current_, events_.events) != MacroLibrary::Status::kOk) {
    Tell(kSaveFailed);
    return false;
  }
  emit macroEventsChanged(current_);
  if (events_.Count() > kLongMacroEvents) Tell(kLongMacro);
  return true;
}

void CMacroControlUI::CancelEdits() {
  if (recorder_.Recording()) return;
  SelectMacro(current_);
}

bool CMacroControlUI::MoveEvent(EventMove move) {
  if (!Editable() || recorder_.Recording()) return false;
  TakeEditedDelays();
  if (!MoveSelectedEvent(events_, move)) return false;
  ShowEvents();
  return SaveMacro();
}

bool CMacroControlUI::DeleteEvent() {
  if (!Editable() || recorder_.Recording()) return false;
  TakeEditedDelays();
  if (!DeleteSelectedEvent(events_)) return false;
  ShowEvents();
  return SaveMacro();
}

bool CMacroControlUI::DeleteAllEvents() {
  if (!Editable() || recorder_.Recording()) return false;
  TakeEditedDelays();
  if (!vorlin::DeleteAllEvents(events_)) return false;
  ShowEvents();
  return SaveMacro();
}

bool CMacroControlUI::InsertMouseItem(const QString& item) {
  if (!Editable() || recorder_.Recording()) return false;
  const std::optional<std::vector<MacroEvent>> inserted = MouseMenuEvents(ToUtf8(item));
  if (!inserted) return false;
  TakeEditedDelays();
  if (!InsertEventsAfterSelection(events_, *inserted, fixed_delay_)) return false;
  ShowEvents();
  return SaveMacro();
}

bool CMacroControlUI::InsertMove(MoveDirection direction) {
  if (!Editable() || recorder_.Recording()) return false;
  int distance = 0;
  for (const MoveInsert& insert : kMoveInserts) {
    if (insert.direction == direction)
      distance = EditNumber(FindControl<QLineEdit>(this, QString::fromLatin1(insert.edit)), 0);
  }
  TakeEditedDelays();
  if (!InsertEventsAfterSelection(events_, {PointerMove(direction, distance)}, fixed_delay_))
    return false;
  ShowEvents();
  return SaveMacro();
}

bool CMacroControlUI::HandleMenuChoice(const QString& item) {
  if (item.isEmpty()) return false;
  for (const RecordItem& record : kRecordItems) {
    if (item != QLatin1String(record.item)) continue;
    return record.mode ? StartRecording(record.placement, *record.mode)
                       : StartRecording(record.placement);
  }
  return InsertMouseItem(item);
}

// ---- Recording ----

bool CMacroControlUI::StartRecording(RecordPlacement placement) {
  auto* check = FindControl<QAbstractButton>(this, QString::fromLatin1(kCheckTime));
  return StartRecording(
      placement, check && check->isChecked() ? DelayMode::kConstant : DelayMode::kRecordTime);
}

bool CMacroControlUI::StartRecording(RecordPlacement placement, DelayMode mode) {
  EnsureControls();
  if (!Editable() || recorder_.Recording() || !services_) return false;
  if (placement != RecordPlacement::kAppend && !events_.HasSelection()) return false;
  TakeEditedDelays();
  if (mode == DelayMode::kConstant) TakeFixedDelay();
  recorder_.Start(placement, mode, fixed_delay_, Now(), events_);
  if (QWidget* stop = Control(kStopButton)) {
    const QPoint origin = stop->mapToGlobal(QPoint(0, 0));
    recorder_.SetStopButton(ScreenRect{origin.x(), origin.y(), stop->width(), stop->height()});
  }
  SetEditorLocked(true);
  if (!StartCapture(HookModeOfPlacement(placement),
                    [this](const HookEvent& event) { OnHookEvent(event); })) {
    recorder_.Stop();
    SetEditorLocked(false);
    Tell(kRecordFailed);
    return false;
  }
  return true;
}

void CMacroControlUI::StopRecording() {
  if (!recorder_.Recording()) return;
  StopCapture();
  recorder_.Stop();
  SetEditorLocked(false);
  SaveMacro();
}

void CMacroControlUI::SetEditorLocked(bool locked) {
  for (const char* name : kLockedWhileRecording) {
    if (QWidget* control = Control(name)) control->setEnabled(!locked);
  }
  if (QWidget* start = Control(kStartButton)) start->setEnabled(!locked);
  if (QWidget* stop = Control(kStopButton)) stop->setEnabled(locked);
  if (!locked) UpdateEnabled();
}

void CMacroControlUI::OnHookEvent(const HookEvent& event) {
  if (!recorder_.Recording()) return;
  const int before = events_.Count();
  int changed = -1;
  if (recorder_.Feed(event, Now(), events_, &changed) != MacroRecorder::Result::kAdded) return;
  if (events_.Count() > before) {
    InsertRow(events_.selected);
  } else {
    UpdateRow(events_.selected);
  }
  if (changed >= 0) UpdateRow(changed);
  ShowSelectedEvent();
  if (action_list_) SetTimer(action_list_, kScrollTimerId, kScrollDelayMs);
}

// ---- Menu and notifications ----

int CMacroControlUI::RowOf(const QWidget* widget) const {
  if (!action_list_) return -1;
  for (int i = 0; i < action_list_->count(); ++i) {
    const QWidget* row = ListRow(action_list_, i);
    if (row && (row == widget || row->isAncestorOf(widget))) return i;
  }
  return -1;
}

void CMacroControlUI::OpenActionMenu(const QPoint& at) {
  std::unique_ptr<QMenu> menu = BuildMenuFromLayout(QString::fromLatin1(kActionMenu), this);
  if (!menu) return;
  const QString choice = menu_runner_ ? menu_runner_(*menu, at) : ChoiceOf(menu->exec(at)).name;
  HandleMenuChoice(choice);
}

int CMacroControlUI::Tell(const char* text_key) {
  return services_ ? services_->ShowMessage(QString::fromLatin1(text_key), false) : 0;
}

bool CMacroControlUI::Confirm(const char* text_key, const QString& object) {
  return services_ &&
         services_->ShowMessage(QString::fromLatin1(text_key), true, std::nullopt, object) == 1;
}

bool CMacroControlUI::StartCapture(int mode, std::function<void(const HookEvent&)> callback) {
  return services_ && services_->StartCapture(mode, std::move(callback));
}

void CMacroControlUI::StopCapture() {
  if (services_) services_->StopCapture();
}

bool CMacroControlUI::HandleNotification(const Notification& n) {
  // A page's layout may hold the panel's tree before the panel first looked for it: a
  // notification of one of its controls has it bound first. Others' notifications build nothing.
  if (n.sender && isAncestorOf(n.sender)) EnsureControls();
  return bindings_.Dispatch(n);
}

void RegisterMacroControls() {
  ControlFactory& factory = ControlFactory::Instance();
  factory.Register<CMacroControlUI>(
      {QStringLiteral("MacroControl"), QStringLiteral("CMacroControlUI")});
  factory.RegisterSubLayout(QStringLiteral("MacroControlUI"),
                            QString::fromLatin1(CMacroControlUI::kLayout));
}

}  // namespace vorlin
