#include "app/storage_notice.h"

#include <QMetaObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "shell/message_box.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

QString StorageNoticeText(const std::vector<DocumentWriteFailure>& failures) {
  QStringList paths, causes;
  for (const DocumentWriteFailure& failure : failures) {
    paths << QString::fromStdString(failure.path.string());
    const QString cause = QString::fromStdString(failure.cause.message());
    if (!causes.contains(cause)) causes << cause;
  }
  return Translator::Instance()
      .Text(QStringLiteral("storage_failed_text"))
      .arg(paths.join(QLatin1Char('\n')), causes.join(QStringLiteral("; ")));
}

StorageNotice::StorageNotice(QWidget* owner, Show show) : show_(std::move(show)) {
  if (!show_) {
    QPointer<QWidget> window(owner);
    show_ = [window](const QString& text) {
      ShowStyledMessage(window.data(), QStringLiteral("storage_failed_text"), false,
                        window ? WindowDpi(window->window()) : 96, text);
    };
  }
  registration_ = DocumentWriteReporter::Instance().Listen(
      [this](const DocumentWriteFailure& failure) { Queue(failure); });
}

StorageNotice::~StorageNotice() {
  registration_.Reset();
}

void StorageNotice::Queue(const DocumentWriteFailure& failure) {
  // Called on the writing thread: the failure travels to the UI thread by value. Once this
  // object is gone Qt drops the queued call.
  QMetaObject::invokeMethod(
      this,
      [this, failure] {
        pending_.push_back(failure);
        // Shown after the calls already queued, so failures of one save come in one message.
        QMetaObject::invokeMethod(this, &StorageNotice::ShowPending, Qt::QueuedConnection);
      },
      Qt::QueuedConnection);
}

void StorageNotice::ShowPending() {
  // The message box runs its own event loop; failures queued meanwhile wait for it to close.
  if (showing_ || pending_.empty()) return;
  showing_ = true;
  while (!pending_.empty()) {
    const std::vector<DocumentWriteFailure> failures = std::move(pending_);
    pending_.clear();
    show_(StorageNoticeText(failures));
  }
  showing_ = false;
}

}  // namespace vorlin
