#include "ui/controls.h"

#include <algorithm>
#include <climits>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QWidget>

#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"

namespace vorlin {

namespace {

constexpr char kGroupPrefix[] = "vorlin_option_group:";
constexpr char kUserDataProperty[] = "userdata";
constexpr char kTagProperty[] = "tag";

QButtonGroup* GroupInWindow(QWidget* window, const QString& name) {
  const QString object_name = QLatin1String(kGroupPrefix) + name;
  auto* group = window->findChild<QButtonGroup*>(object_name, Qt::FindDirectChildrenOnly);
  if (!group) {
    group = new QButtonGroup(window);  // owned by the window
    group->setObjectName(object_name);
    group->setExclusive(true);
  }
  return group;
}

}  // namespace

void SetOptionGroup(QAbstractButton* option, const QString& group) {
  if (!option) return;
  option->setCheckable(true);
  option->setProperty("group", group);
  if (QButtonGroup* old = option->group()) old->removeButton(option);
  if (!group.isEmpty()) GroupInWindow(option->window(), group)->addButton(option);
}

QString OptionGroup(const QAbstractButton* option) {
  return option ? option->property("group").toString() : QString();
}

void SetSelected(QAbstractButton* option, bool selected, bool notify) {
  if (!option) return;
  if (notify) {
    option->setChecked(selected);
    return;
  }
  NotificationBlocker quiet;
  option->setChecked(selected);
}

bool IsSelected(const QAbstractButton* option) {
  return option && option->isChecked();
}

void SelectItem(QComboBox* combo, int index, bool notify) {
  if (!combo) return;
  if (notify) {
    combo->setCurrentIndex(index);
    return;
  }
  NotificationBlocker quiet;
  combo->setCurrentIndex(index);
}

bool SelectTab(QStackedWidget* tabs, int index) {
  if (!tabs || index < 0 || index >= tabs->count()) return false;
  tabs->setCurrentIndex(index);
  return true;
}

namespace {

void FitToCurrentPage(QStackedWidget* tabs) {
  for (int i = 0; i < tabs->count(); ++i) {
    const QSizePolicy::Policy policy =
        i == tabs->currentIndex() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    tabs->widget(i)->setSizePolicy(policy, policy);
  }
  tabs->updateGeometry();
}

}  // namespace

void SizeByCurrentPage(QStackedWidget* tabs) {
  if (!tabs) return;
  FitToCurrentPage(tabs);
  if (tabs->property("_vorlin_sized_by_page").toBool()) return;
  tabs->setProperty("_vorlin_sized_by_page", true);
  QObject::connect(tabs, &QStackedWidget::currentChanged, tabs,
                   [tabs] { FitToCurrentPage(tabs); });
  QObject::connect(tabs, &QStackedWidget::widgetRemoved, tabs,
                   [tabs] { FitToCurrentPage(tabs); });
}

void SetNumberOnly(QLineEdit* edit, int min, int max) {
  if (!edit) return;
  if (min > max) std::swap(min, max);
  auto* validator = edit->findChild<QIntValidator*>(QStringLiteral("vorlin_number"));
  if (!validator) {
    validator = new QIntValidator(edit);  // owned by the edit
    validator->setObjectName(QStringLiteral("vorlin_number"));
  }
  validator->setRange(min, max);
  edit->setValidator(validator);
  edit->setProperty("numberonly", true);
  edit->setProperty("minvalue", min);
  edit->setProperty("maxvalue", max);
}

void SetMaxChars(QLineEdit* edit, int max_chars) {
  if (edit) edit->setMaxLength(max_chars > 0 ? max_chars : 32767);
}

int EditNumber(const QLineEdit* edit, int fallback) {
  if (!edit) return fallback;
  bool ok = false;
  const qlonglong raw = edit->text().trimmed().toLongLong(&ok);
  if (!ok) return fallback;
  qlonglong value = raw;
  if (edit->property("numberonly").toBool()) {
    value = std::clamp<qlonglong>(value, edit->property("minvalue").toInt(),
                                  edit->property("maxvalue").toInt());
  }
  return static_cast<int>(std::clamp<qlonglong>(value, INT_MIN, INT_MAX));
}

void ApplyEditLimits(QWidget* root) {
  if (!root) return;
  auto edits = root->findChildren<QLineEdit*>();
  if (auto* self = qobject_cast<QLineEdit*>(root)) edits.prepend(self);
  for (QLineEdit* edit : edits) {
    if (edit->property("numberonly").toBool()) {
      const QVariant min = edit->property("minvalue");
      const QVariant max = edit->property("maxvalue");
      SetNumberOnly(edit, min.isValid() ? min.toInt() : 0, max.isValid() ? max.toInt() : INT_MAX);
    }
    const QVariant max_chars = edit->property("maxchar");
    if (max_chars.isValid()) SetMaxChars(edit, max_chars.toInt());
  }
}

void AddListRow(QListWidget* list, QWidget* row) {
  if (!list || !row) return;
  auto* item = new QListWidgetItem(list);  // owned by the list
  item->setSizeHint(row->sizeHint());
  list->setItemWidget(item, row);
  WireNotifications(row);
}

QWidget* AddListRowFromLayout(QListWidget* list, const QString& row_layout) {
  if (!list) return nullptr;
  LayoutLoader loader;
  QWidget* row = loader.LoadLayout(row_layout);
  if (row) AddListRow(list, row);
  return row;
}

QWidget* ListRow(const QListWidget* list, int index) {
  if (!list || index < 0 || index >= list->count()) return nullptr;
  return list->itemWidget(list->item(index));
}

void EnsureRowVisible(QListWidget* list, int index) {
  if (list && index >= 0 && index < list->count()) list->scrollToItem(list->item(index));
}

void SetUserData(QWidget* control, const QString& data) {
  if (control) control->setProperty(kUserDataProperty, data);
}
QString UserData(const QWidget* control) {
  return control ? control->property(kUserDataProperty).toString() : QString();
}
void SetTag(QWidget* control, int tag) {
  if (control) control->setProperty(kTagProperty, tag);
}
int Tag(const QWidget* control) {
  return control ? control->property(kTagProperty).toInt() : 0;
}

}  // namespace vorlin
