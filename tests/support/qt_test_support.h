#pragma once

// What every window test needs: readable Qt strings in GoogleTest's messages and the source
// tree's skin folder.

#include <ostream>

#include <QString>
#include <QStringList>

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace vorlin::testing {

inline QString SkinFolder() {
  return QStringLiteral(VORLIN_SOURCE_DIR "/data/skin");
}

}  // namespace vorlin::testing
