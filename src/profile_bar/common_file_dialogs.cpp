#include "profile_bar/common_file_dialogs.h"

#include <QFileDialog>

namespace vorlin {

QString QtFileDialogs::OpenFile(QWidget* owner, const QString& filter) {
  return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
}

QString QtFileDialogs::SaveFile(QWidget* owner, const QString& filter) {
  return QFileDialog::getSaveFileName(owner, QString(), QString(), filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

}  // namespace vorlin
