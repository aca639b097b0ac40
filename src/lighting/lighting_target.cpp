#include "lighting/lighting_target.h"

#include <QGuiApplication>
#include <QScreen>

namespace vorlin {

QSize ScreenSizeForRecords() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1920, 1080);
}

}  // namespace vorlin
