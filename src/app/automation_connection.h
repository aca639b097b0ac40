#pragma once

// One client of the automation interface: its socket, the request lines it has sent and not yet
// had answered, and the order of the answers (one reply line per request, in order; the next
// request is taken once the previous one is answered).

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>

#include "app/automation.h"

class QLocalSocket;

namespace vorlin {

class AutomationRunner;

class AutomationConnection : public QObject {
  Q_OBJECT

 public:
  // Takes `socket` over; goes (deleteLater) when the client does.
  AutomationConnection(QLocalSocket* socket, const AutomationHost& host, AutomationRunner* runner,
                       QObject* parent = nullptr);
  ~AutomationConnection() override;

 private:
  void OnReadable();
  void ScheduleNext();
  void HandleNext();
  void Answer(quint64 request, const QJsonObject& reply);
  void Write(const QJsonObject& reply);

  QLocalSocket* socket_;  // a child of this object
  const AutomationHost& host_;
  QPointer<AutomationRunner> runner_;
  QByteArray buffer_;
  quint64 next_request_ = 1;
  quint64 awaiting_ = 0;  // the request taken and not yet answered; 0 for none
  bool scheduled_ = false;
};

}  // namespace vorlin
