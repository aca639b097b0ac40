#include "ui/control_factory.h"

#include <QWidget>

#include "ui/color_palette.h"
#include "ui/device_key_button.h"
#include "ui/growing_list.h"
#include "ui/select_panel.h"

namespace vorlin {

ControlFactory& ControlFactory::Instance() {
  static ControlFactory instance;
  return instance;
}

// The toolkit's own drawn controls are always available.
ControlFactory::ControlFactory() {
  Register<CDeviceKeyButtonUI>(
      {QStringLiteral("DeviceKeyButton"), QStringLiteral("CDeviceKeyButtonUI")});
  Register<CSelectPanelUI>({QStringLiteral("SelectPanel"), QStringLiteral("CSelectPanelUI")});
  Register<ColorPalette>({QStringLiteral("ColorPalette"), QStringLiteral("CColorPaletteUI")});
  Register<GrowingList>({QStringLiteral("GrowingList")});
}

void ControlFactory::Register(std::initializer_list<QString> names, Creator creator) {
  for (const QString& name : names) {
    sub_layouts_.remove(Key(name));
    creators_.insert(Key(name), creator);
  }
}

void ControlFactory::RegisterSubLayout(const QString& name, const QString& layout) {
  creators_.remove(Key(name));
  sub_layouts_.insert(Key(name), layout);
}

bool ControlFactory::Knows(const QString& name) const {
  return creators_.contains(Key(name)) || sub_layouts_.contains(Key(name));
}

QWidget* ControlFactory::Create(const QString& name, QWidget* parent) const {
  const auto it = creators_.constFind(Key(name));
  return it != creators_.constEnd() ? (*it)(parent) : nullptr;
}

QString ControlFactory::SubLayoutOf(const QString& name) const {
  return sub_layouts_.value(Key(name));
}

}  // namespace vorlin
