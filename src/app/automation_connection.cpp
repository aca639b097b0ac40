#include "app/automation_connection.h"

#include <QJsonDocument>
#include <QLocalSocket>

#include "app/automation_runner.h"

namespace vorlin {

AutomationConnection::AutomationConnection(QLocalSocket* socket, const AutomationHost& host,
                                           AutomationRunner* runner, QObject* parent)
    : QObject(parent), socket_(socket), host_(host), runner_(runner) {
  socket_->setParent(this);
  connect(socket_, &QLocalSocket::readyRead, this, &AutomationConnection::OnReadable);
  // The socket reports its end from inside its own handling: the connection goes from the loop.
  connect(socket_, &QLocalSocket::disconnected, this, &QObject::deleteLater);
}

AutomationConnection::~AutomationConnection() {
  // The socket goes with us; its last signals are not for us any more.
  socket_->disconnect(this);
}

void AutomationConnection::OnReadable() {
  buffer_ += socket_->readAll();
  if (!buffer_.contains('\n') && buffer_.size() > kAutomationMaxLine) {
    buffer_.clear();
    Write(AutomationReply(QStringLiteral("request line too long")));
    socket_->disconnectFromServer();
    return;
  }
  ScheduleNext();
}

void AutomationConnection::ScheduleNext() {
  if (scheduled_ || awaiting_ != 0 || !buffer_.contains('\n')) return;
  // Requests are handled from the event loop, never inside the socket's own signal.
  scheduled_ = true;
  QMetaObject::invokeMethod(this, &AutomationConnection::HandleNext, Qt::QueuedConnection);
}

void AutomationConnection::HandleNext() {
  scheduled_ = false;
  qsizetype end;
  while (awaiting_ == 0 && (end = buffer_.indexOf('\n')) >= 0) {
    const QByteArray line = buffer_.left(end).trimmed();
    buffer_.remove(0, end + 1);
    if (line.isEmpty()) continue;
    if (line.size() > kAutomationMaxLine) {
      Write(AutomationReply(QStringLiteral("request line too long")));
      socket_->disconnectFromServer();
      return;
    }
    AutomationStep step = PrepareAutomationRequest(line, host_);
    if (!step.act) {
      Write(step.reply);
      continue;
    }
    const quint64 request = next_request_++;
    awaiting_ = request;
    if (!runner_) {
      Answer(request, AutomationReply(QStringLiteral("the program is ending")));
      continue;
    }
    runner_->Post(std::move(step.act), [self = QPointer(this), request](const QJsonObject& reply) {
      if (self) self->Answer(request, reply);
    });
  }
}

void AutomationConnection::Answer(quint64 request, const QJsonObject& reply) {
  if (request != awaiting_) return;
  awaiting_ = 0;
  Write(reply);
  ScheduleNext();
}

void AutomationConnection::Write(const QJsonObject& reply) {
  if (socket_->state() != QLocalSocket::ConnectedState) return;
  socket_->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
  socket_->flush();
}

}  // namespace vorlin
