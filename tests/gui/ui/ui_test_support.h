#pragma once

#include <ostream>
#include <vector>

#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui/notification.h"
#include "ui/skin_manager.h"
#include "support/qt_test_support.h"

// Readable failure messages for Qt values.
namespace vorlin::testing {

inline QString TestLayout(const char* name) {
  return QStringLiteral(VORLIN_SOURCE_DIR "/tests/gui/ui/layouts/") + QString::fromLatin1(name);
}
inline void UseProgramSkin() {
  SkinManager::Instance().SetSkinFolder(SkinFolder());
}

// Records every notification a window receives.
class RecordingHandler : public NotifyHandler {
 public:
  void Notify(const Notification& n) override { received.push_back(n); }

  // "type:sender" of every notification, in order.
  QStringList Log() const {
    QStringList out;
    for (const Notification& n : received) out << n.type + QLatin1Char(':') + n.SenderName();
    return out;
  }
  // Only the notifications of these types.
  QStringList Log(const QStringList& types) const {
    QStringList out;
    for (const Notification& n : received)
      if (types.contains(n.type)) out << n.type + QLatin1Char(':') + n.SenderName();
    return out;
  }
  void Clear() { received.clear(); }

  std::vector<Notification> received;
};

}  // namespace vorlin::testing
