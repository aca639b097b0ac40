#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

#include "profiles/document_write_reporter.h"

class QWidget;

namespace vorlin {

// The text that tells the user which documents could not be stored and why (language key
// "storage_failed_text" with the paths as %1 and the causes as %2).
QString StorageNoticeText(const std::vector<DocumentWriteFailure>& failures);

// Tells the user when their settings cannot be stored: listens to the program's document writes
// (DocumentWriteReporter) from any thread and shows a message over the window on the UI thread.
// Failures that arrive while a message is open, or together, are shown in one message. The
// writers go on trying; a path that has been stored again is told again when it fails again.
class StorageNotice : public QObject {
  Q_OBJECT

 public:
  // How a message reaches the user; the message box over `owner` unless a test says otherwise.
  using Show = std::function<void(const QString& text)>;

  explicit StorageNotice(QWidget* owner, Show show = {});
  ~StorageNotice() override;

 private:
  void Queue(const DocumentWriteFailure& failure);
  void ShowPending();

  Show show_;
  // Only touched on the UI thread.
  std::vector<DocumentWriteFailure> pending_;
  bool showing_ = false;
  // Last member: it is removed first, so no listener call reaches a half-destroyed notice.
  DocumentWriteReporter::Registration registration_;
};

}  // namespace vorlin
