#include "input_qt/device_hook_factory.h"

#include <QCursor>

#include "input/evdev_input_source.h"
#include "input_qt/window_input_source.h"

namespace vorlin {

std::unique_ptr<CDeviceHook> CreateDeviceHook(QWidget* window) {
  auto hook = std::make_unique<CDeviceHook>(std::make_unique<EvdevInputSource>(),
                                            std::make_unique<WindowInputSource>(window));
  hook->SetPointerPosition([]() -> std::optional<std::pair<int, int>> {
    const QPoint point = QCursor::pos();
    return std::make_pair(point.x(), point.y());
  });
  return hook;
}

}  // namespace vorlin
