#include "key_set/key_set_control_ui.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <span>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSize>
#include <QStackedWidget>
#include <QStandardItemModel>

#include "input/assignment_decode.h"
#include "input/assignment_encode.h"
#include "input/edit_number.h"
#include "input/function_tables.h"
#include "input/key_capture.h"
#include "platform/log.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

constexpr char kWhole[] = "keyset_layout";
constexpr char kFunctionCombo[] = "keyset_function_combo";
constexpr char kTabs[] = "function_switch_tablayout";
constexpr char kDefaultButton[] = "key_butt_keydefalut";
constexpr char kSaveButton[] = "key_butt_keysave";
constexpr char kCancelButton[] = "key_butt_keycancel";
constexpr char kApplyButton[] = "key_butt_prosave";
constexpr char kMouseButtonCombo[] = "keyset_mousekey_combo";
constexpr char kSwingDirection[] = "keyset_mouseswing_combo";
constexpr char kSwingCount[] = "keyset_mouseswing_num_edit";
constexpr char kSwingDelay[] = "keyset_mouseswing_delay_edit";
constexpr char kSwingSpeed[] = "keyset_mouseswing_speed_edit";
constexpr char kWheelDirection[] = "keyset_mousewheel_combo";
constexpr char kWheelCount[] = "keyset_mousewheel_num_edit";
constexpr char kWheelDelay[] = "keyset_mousewheel_delay_edit";
constexpr char kWheelSpeed[] = "keyset_mousewheel_speed_edit";
constexpr char kDpiCombo[] = "keyset_mousedpi_combo";
constexpr char kFireInterval[] = "keyset_mousefire_interval_edit";
constexpr char kFireCount[] = "keyset_mousefire_num_edit";
constexpr char kKeyEdit[] = "keyset_keyboard_text_edit";
constexpr char kModifierPrefix[] = "key_ComBox_check_";
constexpr char kMediaCombo[] = "keyset_media_combo";
constexpr char kSystemCombo[] = "keyset_system_combo";
constexpr char kMacroCombo[] = "keyset_macro_combo";
constexpr char kRepeatModeCombo[] = "keyset_macro_over_combo";
constexpr char kRepeatCountRow[] = "keyset_macro_cycle_layout";
constexpr char kRepeatCountEdit[] = "keyset_macro_cycle_edit";
constexpr char kGunCombo[] = "keyset_gunkey_combo";
constexpr char kCombinationCombo[] = "keyset_combokey_combo";

constexpr int kModifierOptionCount = 5;
// Combo items named by text key and the function combo's tags, as the layout gives them.
constexpr char kItemKeysProperty[] = "itemKeys";
constexpr char kItemTagsProperty[] = "itemTags";
constexpr int kTagRole = Qt::UserRole;

// The function kinds a keyboard does not have.
constexpr std::array<PanelKind, 2> kMouseOnlyKinds = {PanelKind::kDpi, PanelKind::kGunKey};

// Every control the panel works with; Attach() reports a layout that lacks one.
constexpr const char* kControlNames[] = {
    kWhole,        kFunctionCombo,   kTabs,          kDefaultButton,   kSaveButton,
    kCancelButton, kApplyButton,     kMouseButtonCombo, kSwingDirection, kSwingCount,
    kSwingDelay,   kSwingSpeed,      kWheelDirection, kWheelCount,     kWheelDelay,
    kWheelSpeed,   kDpiCombo,        kFireInterval,  kFireCount,       kKeyEdit,
    kMediaCombo,   kSystemCombo,     kMacroCombo,    kRepeatModeCombo, kRepeatCountRow,
    kRepeatCountEdit, kGunCombo,     kCombinationCombo, "key_ComBox_check_0", "key_ComBox_check_4",
};

std::optional<int> ItemOf(const QComboBox* combo) {
  if (!combo || combo->currentIndex() < 0) return std::nullopt;
  return combo->currentIndex();
}

void ShowItem(QComboBox* combo, std::optional<int> item) {
  if (!combo) return;
  const int index = item && *item >= 0 && *item < combo->count() ? *item : -1;
  SelectItem(combo, index, false);
}

// The number in an edit: decimal, within the edit's limits when it has them.
int NumberOf(const QLineEdit* edit) {
  if (!edit) return 0;
  int value = ReadEditNumber(edit->text().toStdString());
  if (edit->property("numberonly").toBool()) {
    const QVariant min = edit->property("minvalue");
    const QVariant max = edit->property("maxvalue");
    value = std::clamp(value, min.isValid() ? min.toInt() : 0,
                       max.isValid() ? max.toInt() : INT_MAX);
  }
  return value;
}

void ShowNumber(QLineEdit* edit, int value) {
  if (edit) edit->setText(QString::number(value));
}

void FillFromItemKeys(QComboBox* combo) {
  if (!combo || combo->count() > 0) return;
  const QStringList keys = combo->property(kItemKeysProperty).toStringList();
  const QStringList tags = combo->property(kItemTagsProperty).toStringList();
  for (int i = 0; i < keys.size(); ++i) {
    Translator::Instance().AddComboItemKey(combo, keys[i]);
    if (i < tags.size()) combo->setItemData(i, tags[i].toInt(), kTagRole);
  }
}

void FillFromTable(QComboBox* combo, std::span<const FunctionRow> table) {
  if (!combo || combo->count() > 0) return;
  for (const FunctionRow& row : table) {
    Translator::Instance().AddComboItemKey(
        combo, QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
  }
}

void SetItemOffered(QComboBox* combo, int index, bool offered) {
  if (auto* view = qobject_cast<QListView*>(combo->view())) view->setRowHidden(index, !offered);
  if (auto* model = qobject_cast<QStandardItemModel*>(combo->model())) {
    if (QStandardItem* item = model->item(index)) item->setEnabled(offered);
  }
}

}  // namespace

CKeySetControlUI::CKeySetControlUI(QWidget* parent) : QWidget(parent) {}

CKeySetControlUI::~CKeySetControlUI() = default;

void CKeySetControlUI::EnsureBuilt() const {
  if (built_) return;
  built_ = true;
  auto* self = const_cast<CKeySetControlUI*>(this);
  // A page's layout may have built the tree inside the panel already.
  if (findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty() &&
      !AttachSubLayout(self, QString::fromLatin1(kLayout))) {
    qCWarning(lcVorlin) << "key assignment panel without its layout" << kLayout;
  }
  self->FillFixedLists();
  if (auto* tabs = FindControl<QStackedWidget>(this, QString::fromLatin1(kTabs))) {
    SizeByCurrentPage(tabs);
  }
  // The key edit shows names; keys come from the input capture.
  if (auto* edit = FindControl<QLineEdit>(this, QString::fromLatin1(kKeyEdit))) {
    edit->setReadOnly(true);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
  }
  self->BindControls();
}

void CKeySetControlUI::BindControls() {
  using N = const Notification&;
  bindings_.Bind(this, kFunctionCombo, notify::kItemSelect, [this](N) { OnFunctionChosen(); });
  bindings_.Bind(this, kRepeatModeCombo, notify::kItemSelect, [this](N) { OnRepeatModeChosen(); });
  bindings_.Bind(this, kKeyEdit, notify::kSetFocus, [this](N) { OnKeyEditFocus(true); });
  bindings_.Bind(this, kKeyEdit, notify::kKillFocus, [this](N) { OnKeyEditFocus(false); });
}

void CKeySetControlUI::FillFixedLists() {
  NotificationBlocker quiet;
  for (const char* name : {kFunctionCombo, kSwingDirection, kWheelDirection, kRepeatModeCombo}) {
    auto* combo = FindControl<QComboBox>(this, QString::fromLatin1(name));
    FillFromItemKeys(combo);
    if (combo && combo->count() > 0) combo->setCurrentIndex(0);
  }
  const struct {
    const char* name;
    PanelKind kind;
  } tables[] = {
      {kMouseButtonCombo, PanelKind::kMouseButton}, {kDpiCombo, PanelKind::kDpi},
      {kMediaCombo, PanelKind::kMedia},             {kSystemCombo, PanelKind::kSystem},
      {kGunCombo, PanelKind::kGunKey},              {kCombinationCombo, PanelKind::kCombination},
  };
  for (const auto& table : tables) {
    auto* combo = FindControl<QComboBox>(this, QString::fromLatin1(table.name));
    FillFromTable(combo, FunctionTableOf(table.kind));
    if (combo && combo->count() > 0) combo->setCurrentIndex(0);
  }
}

bool CKeySetControlUI::Attach() {
  EnsureBuilt();
  bool complete = true;
  for (const char* name : kControlNames) {
    if (!FindControl(this, QString::fromLatin1(name))) {
      qCWarning(lcVorlin) << "key assignment panel lacks" << name;
      complete = false;
    }
  }
  return complete;
}

QWidget* CKeySetControlUI::Control(const QString& name) const {
  EnsureBuilt();
  return FindControl(this, name);
}

// ---- Device kind and macros ----

void CKeySetControlUI::SetDeviceKind(int kind) {
  device_kind_ = kind;
  auto* combo = Control<QComboBox>(kFunctionCombo);
  if (!combo) return;
  for (int i = 0; i < combo->count(); ++i) {
    const int tag = combo->itemData(i, kTagRole).toInt();
    const bool mouse_only = std::any_of(kMouseOnlyKinds.begin(), kMouseOnlyKinds.end(),
                                        [tag](PanelKind k) { return static_cast<int>(k) == tag; });
    SetItemOffered(combo, i, !(mouse_only && kind == 1));
  }
}

bool CKeySetControlUI::KindOffered(int kind) const {
  auto* combo = Control<QComboBox>(kFunctionCombo);
  const int item = FunctionItemOfKind(kind);
  if (!combo || item < 0) return false;
  auto* view = qobject_cast<QListView*>(combo->view());
  return !(view && view->isRowHidden(item));
}

void CKeySetControlUI::SetMacroNames(const QStringList& names) {
  auto* combo = Control<QComboBox>(kMacroCombo);
  if (!combo) return;
  NotificationBlocker quiet;
  combo->clear();
  const int item_height = static_cast<int>(
      std::lround(kMacroItemHeight * ScaleFactorForDpi(WindowDpi(window()))));
  for (int i = 0; i < names.size(); ++i) {
    combo->addItem(names[i]);
    combo->setItemData(i, QSize(0, item_height), Qt::SizeHintRole);
  }
  combo->setCurrentIndex(-1);
}

int CKeySetControlUI::MacroCount() const {
  auto* combo = Control<QComboBox>(kMacroCombo);
  return combo ? combo->count() : 0;
}

// ---- Showing and reading a pair ----

void CKeySetControlUI::ShowAssignment(const KeyAssignmentPair& pair) {
  pair_ = pair;
  ShowCurrent();
}

void CKeySetControlUI::ShowDefault() {
  ShowCode(FunctionCode::FromBytes(pair_.factory.code), true, false);
}

void CKeySetControlUI::ShowCurrent() {
  ShowCode(FunctionCode::FromBytes(pair_.current.code), pair_.current == pair_.factory, true);
}

void CKeySetControlUI::ShowCode(FunctionCode code, bool same_as_default, bool correct_kept) {
  KeySetFields fields = Fields();
  const DecodedAssignment decoded = DecodeAssignment(code, same_as_default, MacroCount(), fields);
  if (correct_kept && decoded.corrected_code) pair_.current.code = decoded.corrected_code->Bytes();
  ShowFields(fields);
  ShowKind(decoded.kind);
}

KeyAssignmentPair CKeySetControlUI::ReadAssignment() {
  // A function the panel cannot edit stays as it is: the hidden controls describe nothing.
  if (!editable_) return pair_;
  const EncodedAssignment encoded = EncodeAssignment(
      SelectedKind().value_or(-1), Fields(), FunctionCode::FromBytes(pair_.current.code),
      FunctionCode::FromBytes(pair_.factory.code), MacroCount());
  switch (encoded.source) {
    case EncodedAssignment::Source::kDefault:
      pair_.current = pair_.factory;
      break;
    case EncodedAssignment::Source::kEncoded:
      pair_.current.code = encoded.code.Bytes();
      break;
    case EncodedAssignment::Source::kKept:
      break;
  }
  if (encoded.fire_interval_shown) {
    ShowNumber(Control<QLineEdit>(kFireInterval), *encoded.fire_interval_shown);
  }
  return pair_;
}

void CKeySetControlUI::ResetFields() {
  const KeySetFields reset;
  KeySetFields fields = Fields();
  fields.mouse_button_item = reset.mouse_button_item;
  fields.dpi_item = reset.dpi_item;
  fields.fire_interval = reset.fire_interval;
  fields.fire_count = reset.fire_count;
  fields.media_item = reset.media_item;
  fields.system_item = reset.system_item;
  fields.macro_item = reset.macro_item;
  fields.repeat_mode_item = reset.repeat_mode_item;
  fields.repeat_count_visible = reset.repeat_count_visible;
  fields.repeat_count = reset.repeat_count;
  fields.gun_item = reset.gun_item;
  fields.combination_item = reset.combination_item;
  ShowFields(fields);
}

void CKeySetControlUI::EnableEditingButtons(bool enable) {
  // Save stays usable: a function chosen after an apply or a cancel must still be savable.
  for (const char* name : {kCancelButton, kApplyButton}) {
    if (QWidget* button = Control(QString::fromLatin1(name))) button->setEnabled(enable);
  }
}

bool CKeySetControlUI::EditingButtonsEnabled() const {
  const QWidget* button = Control(QString::fromLatin1(kApplyButton));
  return button && button->isEnabled();
}

std::optional<int> CKeySetControlUI::SelectedKind() const {
  auto* combo = Control<QComboBox>(kFunctionCombo);
  if (!combo || combo->currentIndex() < 0) return std::nullopt;
  return combo->itemData(combo->currentIndex(), kTagRole).toInt();
}

QAbstractButton* CKeySetControlUI::ModifierOptionButton(int option) const {
  return qobject_cast<QAbstractButton*>(
      Control(QLatin1String(kModifierPrefix) + QString::number(option)));
}

int CKeySetControlUI::FunctionItemOfKind(int kind) const {
  auto* combo = Control<QComboBox>(kFunctionCombo);
  if (!combo) return -1;
  for (int i = 0; i < combo->count(); ++i) {
    const QVariant tag = combo->itemData(i, kTagRole);
    if (tag.isValid() && tag.toInt() == kind) return i;
  }
  return -1;
}

// ---- Controls <-> fields ----

KeySetFields CKeySetControlUI::Fields() const {
  const auto combo = [this](const char* name) { return ItemOf(Control<QComboBox>(name)); };
  const auto number = [this](const char* name) { return NumberOf(Control<QLineEdit>(name)); };
  KeySetFields fields;
  fields.mouse_button_item = combo(kMouseButtonCombo);
  fields.horizontal_scroll = {combo(kSwingDirection), number(kSwingCount), number(kSwingDelay),
                              number(kSwingSpeed)};
  fields.vertical_scroll = {combo(kWheelDirection), number(kWheelCount), number(kWheelDelay),
                            number(kWheelSpeed)};
  fields.dpi_item = combo(kDpiCombo);
  fields.fire_interval = number(kFireInterval);
  fields.fire_count = number(kFireCount);
  fields.modifier_option.reset();
  for (int n = 0; n < kModifierOptionCount; ++n) {
    if (IsSelected(ModifierOptionButton(n))) fields.modifier_option = n;
  }
  fields.key_name = key_name_;
  fields.media_item = combo(kMediaCombo);
  fields.system_item = combo(kSystemCombo);
  fields.macro_item = combo(kMacroCombo);
  fields.repeat_mode_item = combo(kRepeatModeCombo);
  const QWidget* count_row = Control(QString::fromLatin1(kRepeatCountRow));
  fields.repeat_count_visible = count_row && !count_row->isHidden();
  fields.repeat_count = number(kRepeatCountEdit);
  fields.gun_item = combo(kGunCombo);
  fields.combination_item = combo(kCombinationCombo);
  return fields;
}

void CKeySetControlUI::ShowFields(const KeySetFields& fields) {
  NotificationBlocker quiet;
  const auto combo = [this](const char* name, std::optional<int> item) {
    ShowItem(Control<QComboBox>(name), item);
  };
  const auto number = [this](const char* name, int value) {
    ShowNumber(Control<QLineEdit>(name), value);
  };
  combo(kMouseButtonCombo, fields.mouse_button_item);
  combo(kSwingDirection, fields.horizontal_scroll.direction);
  number(kSwingCount, fields.horizontal_scroll.count);
  number(kSwingDelay, fields.horizontal_scroll.delay);
  number(kSwingSpeed, fields.horizontal_scroll.speed);
  combo(kWheelDirection, fields.vertical_scroll.direction);
  number(kWheelCount, fields.vertical_scroll.count);
  number(kWheelDelay, fields.vertical_scroll.delay);
  number(kWheelSpeed, fields.vertical_scroll.speed);
  combo(kDpiCombo, fields.dpi_item);
  number(kFireInterval, fields.fire_interval);
  number(kFireCount, fields.fire_count);
  ShowModifierOption(fields.modifier_option);
  ShowKeyName(fields.key_name);
  combo(kMediaCombo, fields.media_item);
  combo(kSystemCombo, fields.system_item);
  combo(kMacroCombo, fields.macro_item);
  combo(kRepeatModeCombo, fields.repeat_mode_item);
  if (QWidget* count_row = Control(QString::fromLatin1(kRepeatCountRow)))
    count_row->setHidden(!fields.repeat_count_visible);
  number(kRepeatCountEdit, fields.repeat_count);
  combo(kGunCombo, fields.gun_item);
  combo(kCombinationCombo, fields.combination_item);
}

void CKeySetControlUI::ShowKind(std::optional<PanelKind> kind) {
  QWidget* whole = Control(QString::fromLatin1(kWhole));
  const int item = kind ? FunctionItemOfKind(static_cast<int>(*kind)) : -1;
  editable_ = item >= 0;
  if (!editable_) {
    // A function the panel cannot edit (a factory code of another type).
    if (whole) whole->hide();
    return;
  }
  if (whole) whole->show();
  SelectItem(Control<QComboBox>(kFunctionCombo), item, false);
  SelectTab(Control<QStackedWidget>(kTabs), static_cast<int>(*kind));
}

void CKeySetControlUI::ShowKeyName(std::string_view key) {
  key_name_ = key;
  auto* edit = Control<QLineEdit>(kKeyEdit);
  if (!edit) return;
  if (key.empty()) {
    edit->setProperty(kTextKeyProperty, QVariant());
    edit->clear();
    return;
  }
  // As a text key, so that the name follows a change of language.
  Translator::Instance().SetTextKey(
      edit, QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
}

void CKeySetControlUI::ShowModifierOption(std::optional<int> option) {
  NotificationBlocker quiet;
  for (int n = 0; n < kModifierOptionCount; ++n) {
    QAbstractButton* button = ModifierOptionButton(n);
    if (!button) continue;
    // An exclusive group refuses to clear its checked option: clear with the group open.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive) group->setExclusive(false);
    button->setChecked(option == n);
    if (exclusive) group->setExclusive(true);
  }
}

// ---- Key capture and the panel's own notifications ----

bool CKeySetControlUI::ApplyCapturedKey(ScanCode scan) {
  if (SelectedKind() != static_cast<int>(PanelKind::kKeyboardKey)) return false;
  const std::optional<CapturedKey> captured = CaptureKey(scan, Fields().modifier_option);
  if (!captured) return false;
  ShowModifierOption(captured->modifier_option);
  ShowKeyName(captured->key_name);
  pair_.current.code = captured->code.Bytes();
  return true;
}

void CKeySetControlUI::OnFunctionChosen() {
  const std::optional<int> kind = SelectedKind();
  if (!kind) return;
  SelectTab(Control<QStackedWidget>(kTabs), *kind);
  if (*kind == static_cast<int>(PanelKind::kKeyboardKey)) {
    // A new key starts empty: nothing captured, no modifier.
    ShowKeyName({});
    ShowModifierOption(std::nullopt);
  }
}

void CKeySetControlUI::OnRepeatModeChosen() {
  if (QWidget* count_row = Control(QString::fromLatin1(kRepeatCountRow)))
    count_row->setHidden(ItemOf(Control<QComboBox>(kRepeatModeCombo)) != kRepeatModeCountItem);
}

void CKeySetControlUI::OnKeyEditFocus(bool focus_in) {
  if (key_capture_wanted_ == focus_in) return;
  key_capture_wanted_ = focus_in;
  emit keyCaptureWanted(focus_in);
}

bool CKeySetControlUI::HandleNotification(const Notification& n) {
  // A page's layout may hold the panel's tree before the panel first looked for it: a
  // notification of one of its controls has it bound first. Others' notifications build nothing.
  if (n.sender && isAncestorOf(n.sender)) EnsureBuilt();
  return bindings_.Dispatch(n);
}

void RegisterKeySetControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  ControlFactory::Instance().Register<CKeySetControlUI>(
      {QStringLiteral("KeySetControl"), QStringLiteral("CKeySetControlUI")});
}

}  // namespace vorlin
