#include "profiles/profile_list_names.h"

#include <QString>

namespace vorlin {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsLineBreakOrControl(QChar c) {
  return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

}  // namespace

std::string CleanProfileName(std::string_view name) {
  QString text = FromUtf8(name);
  for (QChar& c : text) {
    if (IsLineBreakOrControl(c)) c = QLatin1Char(' ');
  }
  text = text.trimmed();
  if (text.size() > kMaxProfileNameLength) {
    qsizetype cut = kMaxProfileNameLength;
    // Never half a character: a surrogate pair stays whole or goes.
    if (text.at(cut - 1).isHighSurrogate()) --cut;
    text = text.left(cut).trimmed();
  }
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

bool SameProfileName(std::string_view a, std::string_view b) {
  return FromUtf8(a).compare(FromUtf8(b), Qt::CaseInsensitive) == 0;
}

bool ProfileNameTaken(const std::vector<std::string>& names, std::string_view name, int except) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (static_cast<int>(i) != except && SameProfileName(names[i], name)) return true;
  }
  return false;
}

bool IsBlankProfileName(std::string_view name) {
  return FromUtf8(name).trimmed().isEmpty();
}

std::string NewProfileName(const std::vector<std::string>& names) {
  // At most names.size() + 1 tries: each taken number is one of the names.
  for (size_t number = 1;; ++number) {
    std::string name = "profile" + std::to_string(number);
    if (!ProfileNameTaken(names, name)) return name;
  }
}

std::string CopyProfileName(const std::vector<std::string>& names, std::string_view source) {
  std::string name(source);
  do {
    name += " copy";
  } while (ProfileNameTaken(names, name));
  return name;
}

std::string ImportedProfileName(const std::vector<std::string>& names, std::string_view title) {
  std::string name = CleanProfileName(title);
  if (name.empty()) return NewProfileName(names);
  for (int counter = 1; ProfileNameTaken(names, name); ++counter)
    name += "(" + std::to_string(counter) + ")";
  return name;
}

}  // namespace vorlin
