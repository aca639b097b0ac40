#include "ui/translator.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QWidget>

#include "platform/log.h"
#include "ui/skin_manager.h"

namespace vorlin {

namespace {

constexpr int kItemKeyRole = Qt::UserRole + 0x7a1;

}  // namespace

Translator& Translator::Instance() {
  static Translator instance;
  return instance;
}

bool Translator::LoadLanguage(const QString& file_name) {
  QFile file(SkinManager::Instance().FindFile(file_name));
  if (!file.open(QIODevice::ReadOnly)) {
    qCWarning(lcVorlin) << "language file missing:" << file_name;
    return false;
  }
  std::optional<LanguageTexts> texts = ParseLanguageFile(file.readAll());
  if (!texts) {
    qCWarning(lcVorlin) << "language file unreadable:" << file_name;
    return false;
  }
  file_name_ = file_name;
  SetLanguage(std::move(*texts));
  return true;
}

void Translator::SetLanguage(LanguageTexts texts) {
  language_ = std::move(texts);
  ReloadAllTexts();
  emit LanguageChanged();
}

QString Translator::Text(const QString& key) const {
  const auto it = language_.texts.constFind(key);
  return it != language_.texts.constEnd() ? *it : key;
}

void Translator::SetTextKey(QWidget* widget, const QString& key) const {
  if (!widget) return;
  widget->setProperty(kTextKeyProperty, key);
  ApplyToWidget(widget);
}

void Translator::SetToolTipKey(QWidget* widget, const QString& key) const {
  if (!widget) return;
  widget->setProperty(kToolTipKeyProperty, key);
  ApplyToWidget(widget);
}

void Translator::AddComboItemKey(QComboBox* combo, const QString& key) const {
  if (!combo) return;
  combo->addItem(Text(key));
  combo->setItemData(combo->count() - 1, key, kItemKeyRole);
}

void Translator::ApplyToWidget(QWidget* widget) const {
  const QString key = widget->property(kTextKeyProperty).toString();
  if (!key.isEmpty()) {
    const QString text = Text(key);
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      group->setTitle(text);
    } else if (widget->metaObject()->indexOfProperty("text") >= 0) {
      widget->setProperty("text", text);
    } else if (widget->isWindow()) {
      widget->setWindowTitle(text);
    }
  }
  const QString tip_key = widget->property(kToolTipKeyProperty).toString();
  if (!tip_key.isEmpty()) widget->setToolTip(Text(tip_key));
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    for (int i = 0; i < combo->count(); ++i) {
      const QString item_key = combo->itemData(i, kItemKeyRole).toString();
      if (!item_key.isEmpty()) combo->setItemText(i, Text(item_key));
    }
  }
}

void Translator::ApplyTexts(QWidget* root) const {
  if (!root) return;
  ApplyToWidget(root);
  for (QWidget* child : root->findChildren<QWidget*>()) ApplyToWidget(child);
}

void Translator::ReloadAllTexts() const {
  if (!qApp) return;
  for (QWidget* widget : QApplication::allWidgets()) ApplyToWidget(widget);
}

}  // namespace vorlin
