#pragma once

#include <vector>

#include <QString>

#include "shell/language_fonts.h"
#include "shell/language_list.h"

class QSettings;

namespace vorlin {

// What a language change needs from the main window.
class LanguageHost {
 public:
  virtual ~LanguageHost() = default;
  // Replace the window's whole font table (every id and the default font) with these.
  virtual void ReplaceFonts(const std::vector<UiFont>& fonts) = 0;
  // The texts are in the new language: repaint, tell the open secondary windows (settings,
  // colour, audio light) to refresh, and let the pages reload their name lists.
  virtual void LanguageApplied(int index) = 0;
};

// The interface language: the stored choice, and switching to another language.
class LanguageSwitcher {
 public:
  // `config_path`: the language list ("Language.config"); `settings`: where the choice is kept.
  // Both the host and the settings must outlive the switcher.
  LanguageSwitcher(LanguageHost* host, QString config_path, QSettings* settings);

  // Index of the stored language; without a stored choice, the desktop's language (English when
  // the list does not have it); 0 when what is stored is not in the list.
  int StoredIndex() const;
  // The index in use; -1 until a language has been applied.
  int CurrentIndex() const { return current_; }

  // Switches to language `index`: the skin's language file, the fonts (when the face changes),
  // the stored choice, then the host is told. Nothing happens for the current index. An index
  // the list does not have, or a language whose file cannot be loaded, is refused (logged,
  // false) and nothing changes.
  bool Apply(int index);

  std::vector<LanguageEntry> Entries() const { return LoadLanguageList(config_path_); }

 private:
  LanguageHost* host_;
  QString config_path_;
  QSettings* settings_;
  int current_ = -1;
};

}  // namespace vorlin
