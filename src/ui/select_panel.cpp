#include "ui/select_panel.h"

#include <QMouseEvent>

#include "ui/device_key_button.h"
#include "ui/notify_bridge.h"

namespace vorlin {

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : QWidget(parent) {
  setProperty("controlClass", QStringLiteral("SelectPanel"));
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  pressed_ = true;
  start_ = event->position().toPoint();
  event->accept();  // keep the mouse until the release
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (pressed_) dragging_ = true;
  if (!dragging_) return;
  current_ = event->position().toPoint();
  selection_ = SpanSelection(start_, current_);
  update();
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  pressed_ = false;
  if (dragging_) EndDrag();
}

void CSelectPanelUI::EndDrag() {
  dragging_ = false;
  start_ = current_;
  for (auto* key : findChildren<CDeviceKeyButtonUI*>(Qt::FindDirectChildrenOnly)) {
    if (key->GetClass() != QLatin1String(CDeviceKeyButtonUI::kClassName)) continue;
    key->SetDragSelected(SelectionHits(selection_, key->geometry()));
  }
  update();
  SendNotification(this, notify::kSelectEnd);
}

}  // namespace vorlin
