#include "ui/skin_picture.h"

#include <QLabel>
#include <QPixmap>

#include "ui/skin_manager.h"

namespace vorlin {

void ShowSkinPicture(QLabel* label, const QString& description, QSize size) {
  if (!label) return;
  label->setProperty("picture", description);
  const qreal ratio = label->devicePixelRatioF();
  const QImage image =
      description.isEmpty() ? QImage() : SkinManager::Instance().Image(description, size * ratio);
  if (image.isNull()) {
    label->clear();
    return;
  }
  QPixmap picture = QPixmap::fromImage(image);
  picture.setDevicePixelRatio(ratio);
  label->setFixedSize(size);
  label->setPixmap(picture);
}

void ShowSkinPictures(QWidget* root, QSize size) {
  if (!root) return;
  for (QLabel* label : root->findChildren<QLabel*>()) {
    const QString picture = label->property("picture").toString();
    if (!picture.isEmpty()) ShowSkinPicture(label, picture, size);
  }
}

}  // namespace vorlin
