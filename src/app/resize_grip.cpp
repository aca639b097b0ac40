#include "app/resize_grip.h"

#include <QBoxLayout>
#include <QSizeGrip>
#include <QWidget>

namespace vorlin {

namespace {

constexpr int kGripSize = 16;  // at 96 DPI; the window's scale applies to it

}  // namespace

QSizeGrip* AddResizeGrip(QWidget* status_bar) {
  auto* row = status_bar ? qobject_cast<QBoxLayout*>(status_bar->layout()) : nullptr;
  if (!row) return nullptr;
  auto* grip = new QSizeGrip(status_bar);
  grip->setObjectName(QStringLiteral("resize_grip"));
  grip->setFixedSize(kGripSize, kGripSize);
  row->addWidget(grip, 0, Qt::AlignRight | Qt::AlignBottom);
  return grip;
}

}  // namespace vorlin
