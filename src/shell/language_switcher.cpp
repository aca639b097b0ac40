#include "shell/language_switcher.h"

#include <QSettings>

#include "platform/log.h"
#include "ui/translator.h"

namespace vorlin {

LanguageSwitcher::LanguageSwitcher(LanguageHost* host, QString config_path, QSettings* settings)
    : host_(host), config_path_(std::move(config_path)), settings_(settings) {}

int LanguageSwitcher::StoredIndex() const {
  const std::optional<int> id = settings_ ? ReadStoredLanguageId(*settings_) : std::nullopt;
  const std::vector<LanguageEntry> entries = Entries();
  // Nothing stored yet (a first start): the desktop's language.
  if (!id) return LanguageIndexOfLocale(entries, DesktopMessagesLocale());
  return LanguageIndexOfId(entries, id);
}

bool LanguageSwitcher::Apply(int index) {
  if (index == current_) return true;
  const std::vector<LanguageEntry> entries = Entries();
  if (index < 0 || index >= static_cast<int>(entries.size())) {
    qCWarning(lcVorlin) << "no language" << index << "in" << config_path_ << "(" << entries.size()
                        << "languages)";
    return false;
  }
  const LanguageEntry& entry = entries[static_cast<size_t>(index)];

  // Texts first: a language whose file is missing or broken is not switched to (and not stored,
  // so the next start does not come up without texts); the translator has logged why.
  qCInfo(lcVorlin) << "language" << index << entry.name << entry.file;
  if (!Translator::Instance().LoadLanguage(entry.file)) return false;

  if (const std::optional<QString> face = FontFaceForLanguageChange(index, current_)) {
    if (host_) host_->ReplaceFonts(BuildUiFonts(*face));
  }
  current_ = index;

  if (settings_) WriteStoredLanguageId(*settings_, entry.id);
  if (host_) host_->LanguageApplied(index);
  return true;
}

}  // namespace vorlin
