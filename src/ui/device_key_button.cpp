#include "ui/device_key_button.h"

#include <QDynamicPropertyChangeEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/tinted_image.h"

namespace vorlin {

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : QPushButton(parent) {
  setProperty("controlClass", QString::fromLatin1(kClassName));
  setFocusPolicy(Qt::NoFocus);
}

bool CDeviceKeyButtonUI::SetLight(uint32_t colour_word, int level, bool shown) {
  if (light_colour_ == colour_word && light_level_ == level && light_shown_ == shown) return false;
  light_colour_ = colour_word;
  light_level_ = level;
  light_shown_ = shown;
  return true;
}

void CDeviceKeyButtonUI::SetSetMarkHidden(bool hidden) {
  if (set_mark_hidden_ == hidden) return;
  set_mark_hidden_ = hidden;
  update();
}

void CDeviceKeyButtonUI::SetUnsetMarkHidden(bool hidden) {
  if (unset_mark_hidden_ == hidden) return;
  unset_mark_hidden_ = hidden;
  update();
}

void CDeviceKeyButtonUI::SetMarked(bool marked) {
  if (marked_ == marked) return;
  marked_ = marked;
  update();
}

void CDeviceKeyButtonUI::SetLightImage(const QString& image) {
  light_image_ = image;
  update();
}

void CDeviceKeyButtonUI::SetKeySetImage(const QString& image) {
  key_set_image_ = image;
  update();
}

void CDeviceKeyButtonUI::SetKeyUnsetImage(const QString& image) {
  key_unset_image_ = image;
  update();
}

// Layout attributes arrive as dynamic properties; their names are matched without case.
bool CDeviceKeyButtonUI::ApplyAttribute(const QByteArray& name) {
  const QByteArray lower = name.toLower();
  const QString value = property(name.constData()).toString();
  if (lower == "lightimage") {
    SetLightImage(value);
  } else if (lower == "keysetimage") {
    SetKeySetImage(value);
  } else if (lower == "keyunsetimage") {
    SetKeyUnsetImage(value);
  } else if (lower == "gmnametextcolor") {
    // Accepted for older layouts; it has no effect.
  } else {
    return false;
  }
  return true;
}

bool CDeviceKeyButtonUI::event(QEvent* event) {
  if (event->type() == QEvent::DynamicPropertyChange) {
    ApplyAttribute(static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName());
  }
  return QPushButton::event(event);
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent* event) {
  ++paint_count_;
  QPushButton::paintEvent(event);
  QPainter painter(this);
  const QRect area = rect();
  const SkinManager& skin = SkinManager::Instance();
  const QSize pixels = area.size() * devicePixelRatio();
  if (light_shown_ && light_level_ > 0 && !light_image_.isEmpty()) {
    if (tinted_colour_ != light_colour_ || tinted_level_ != light_level_ || tinted_size_ != pixels ||
        tinted_image_ != light_image_) {
      tinted_ = TintImage(skin.Image(light_image_, pixels), light_colour_, light_level_);
      tinted_colour_ = light_colour_;
      tinted_level_ = light_level_;
      tinted_size_ = pixels;
      tinted_image_ = light_image_;
    }
    if (!tinted_.isNull()) painter.drawImage(area, tinted_);
  }
  if (!unset_mark_hidden_ && !key_unset_image_.isEmpty()) {
    const QImage image = skin.Image(key_unset_image_, pixels);
    if (!image.isNull()) painter.drawImage(area, image);
  }
  if (!set_mark_hidden_ && !key_set_image_.isEmpty()) {
    const QImage image = skin.Image(key_set_image_, pixels);
    if (!image.isNull()) painter.drawImage(area, image);
  }
}

// A double click presses the button again, so the release that follows completes a click as after
// an ordinary press; the window also hears "dbclick".
void CDeviceKeyButtonUI::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!isEnabled() || !rect().contains(event->position().toPoint())) {
    QPushButton::mouseDoubleClickEvent(event);
    return;
  }
  mousePressEvent(event);
  SendNotification(this, notify::kDbClick);
  update();
}

}  // namespace vorlin
