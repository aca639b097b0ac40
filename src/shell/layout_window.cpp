#include "shell/layout_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/log.h"
#include "ui/layout_loader.h"
#include "ui/translator.h"

namespace vorlin {

std::unique_ptr<QDialog> BuildLayoutDialog(
    const QString& layout, const std::function<std::unique_ptr<QDialog>()>& fallback) {
  std::unique_ptr<QWidget> root = LoadWindow(layout);
  if (!root) {
    if (!fallback) return nullptr;
    qCWarning(lcVorlin) << "layout" << layout << "unavailable; using the built-in window";
    std::unique_ptr<QDialog> built = fallback();
    if (built) Translator::Instance().ApplyTexts(built.get());
    return built;
  }
  if (auto* dialog = qobject_cast<QDialog*>(root.get())) {
    root.release();
    return std::unique_ptr<QDialog>(dialog);
  }
  auto dialog = std::make_unique<QDialog>();
  auto* box = new QVBoxLayout(dialog.get());
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(0);
  dialog->resize(root->size());
  box->addWidget(root.release());  // the dialog's layout now owns the tree
  return dialog;
}

void PlaceOver(QDialog* dialog, QWidget* owner) {
  if (!dialog) return;
  QRect area;
  if (owner && owner->window()->isVisible()) {
    QWidget* window = owner->window();
    dialog->winId();  // makes the native window so it can get a transient parent
    if (dialog->windowHandle() && window->windowHandle()) {
      dialog->windowHandle()->setTransientParent(window->windowHandle());
    }
    area = window->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isValid()) {
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(area.center());
    dialog->move(frame.topLeft());
  }
}

}  // namespace vorlin
