#pragma once

#include <QObject>
#include <QString>

#include "ui/language_file.h"

class QComboBox;
class QWidget;

namespace vorlin {

// The interface language. Visible texts are given as keys: a widget carries its text key in the
// dynamic property "textKey" and its tooltip key in "toolTipKey" (set in the layout file or with
// SetTextKey/SetToolTipKey); combo items carry theirs through AddComboItemKey. Loading another
// language file re-texts every widget that carries a key. A key the language lacks shows as the
// key itself, so a gap is visible instead of an empty control.
class Translator : public QObject {
  Q_OBJECT

 public:
  static Translator& Instance();

  // Loads a language file of the skin (e.g. "lan_en.xml") and re-texts every widget. On failure
  // (logged) the current language stays.
  bool LoadLanguage(const QString& file_name);
  // Uses the given texts (already parsed) and re-texts every widget.
  void SetLanguage(LanguageTexts texts);
  const QString& LanguageName() const { return language_.name; }
  const QString& LanguageFile() const { return file_name_; }

  QString Text(const QString& key) const;

  void SetTextKey(QWidget* widget, const QString& key) const;
  void SetToolTipKey(QWidget* widget, const QString& key) const;
  void AddComboItemKey(QComboBox* combo, const QString& key) const;

  // Resolves the keys of `root` and everything below it.
  void ApplyTexts(QWidget* root) const;
  // Resolves the keys of every widget of the application.
  void ReloadAllTexts() const;

 signals:
  void LanguageChanged();

 private:
  Translator() = default;
  void ApplyToWidget(QWidget* widget) const;

  LanguageTexts language_;
  QString file_name_;
};

// Dynamic property names of the text keys.
inline constexpr char kTextKeyProperty[] = "textKey";
inline constexpr char kToolTipKeyProperty[] = "toolTipKey";

}  // namespace vorlin
