#include "pages/device_option.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kIconFolder[] = "common/device_ico/";

// The skin may give the artwork as the bitmap the name asks for or as vector artwork of the same
// stem (sharp at every window scale); an image it has neither of leaves the button without one.
QString ResolveSkinImage(const QString& name) {
  const QString folder = SkinManager::Instance().SkinFolder();
  if (folder.isEmpty() || name.isEmpty()) return {};
  const QString path = folder + QLatin1Char('/') + NormaliseSkinPath(name);
  if (QFileInfo::exists(path)) return path;
  QString svg = path;
  svg.replace(QRegularExpression(QStringLiteral("\\.png$")), QStringLiteral(".svg"));
  return QFileInfo::exists(svg) ? svg : QString();
}

}  // namespace

DeviceOptionImages DeviceOptionImagesFor(const QString& stem) {
  if (stem.isEmpty()) return {};
  const QString base = QLatin1String(kIconFolder) + stem;
  return {base + QStringLiteral("_device_normal.png"),
          base + QStringLiteral("_device_selected.png"),
          base + QStringLiteral("_device_synchro_normal.png"),
          base + QStringLiteral("_device_synchro_selected.png"),
          stem + QStringLiteral("_device_name_text")};
}

CDeviceOptionUI::CDeviceOptionUI(const QString& layout, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("DeviceOption"));
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  if (!AttachSubLayout(this, layout)) return;
  select_ = FindControl<QAbstractButton>(this, QStringLiteral("device_select"));
  synchro_ = FindControl<QAbstractButton>(this, QStringLiteral("synchro_device_select"));
  if (select_) {
    select_->setIconSize(QSize(26, 26));
    select_->setFixedSize(QSize(48, 40));
  }
  caption_ = FindControl<QLabel>(this, QStringLiteral("device_select_name"));
  if (synchro_) {
    connect(synchro_, &QAbstractButton::toggled, this, [this] { UpdateIcon(); });
  }
  images_ = DeviceOptionImagesFor(QStringLiteral("unknow"));
  UpdateIcon();
}

void CDeviceOptionUI::SetPage(DevicePage* page) {
  page_ = page;
}

void CDeviceOptionUI::SetKind(uint32_t kind, int variant, const QString& icon_stem) {
  kind_ = kind;
  variant_ = variant;
  const DeviceOptionImages images = DeviceOptionImagesFor(icon_stem);
  if (images.normal.isEmpty()) return;
  images_ = images;
  if (select_) Translator::Instance().SetToolTipKey(select_, images_.nameKey);
  UpdateIcon();
}

void CDeviceOptionUI::UpdateIcon() {
  if (!select_) return;
  const bool synchro = SynchroSelected();
  const QString normal = ResolveSkinImage(synchro ? images_.synchroNormal : images_.normal);
  const QString selected = ResolveSkinImage(synchro ? images_.synchroSelected : images_.selected);
  // A skin without synchro artwork keeps the plain pair.
  const QString plain_normal = ResolveSkinImage(images_.normal);
  const QString plain_selected = ResolveSkinImage(images_.selected);
  QIcon icon;
  const QString off = normal.isEmpty() ? plain_normal : normal;
  const QString on = selected.isEmpty() ? plain_selected : selected;
  if (!off.isEmpty()) {
    icon.addFile(off, QSize(), QIcon::Normal, QIcon::Off);
    icon.addFile(off, QSize(), QIcon::Disabled, QIcon::Off);
    icon.addFile(off, QSize(), QIcon::Active, QIcon::Off);
  }
  if (!on.isEmpty()) {
    icon.addFile(on, QSize(), QIcon::Normal, QIcon::On);
    icon.addFile(on, QSize(), QIcon::Active, QIcon::On);
  }
  select_->setIcon(icon);
}

void CDeviceOptionUI::SetPowerContainer(const QString& name, int index) {
  power_container_ = name;
  power_index_ = index;
}

void CDeviceOptionUI::BindTab(QStackedWidget* tabs, int index) {
  tabs_ = tabs;
  tab_index_ = index;
}

void CDeviceOptionUI::SetGroup(const QString& group) {
  if (select_) SetOptionGroup(select_, group);
}

void CDeviceOptionUI::SetCaption(const QString& text) {
  if (caption_) caption_->setText(text);
}

void CDeviceOptionUI::Select(bool selected, bool notify) {
  if (!select_) return;
  // An exclusive group keeps one option checked; a hidden device's option is cleared anyway.
  QButtonGroup* group = selected ? nullptr : select_->group();
  const bool exclusive = group && group->exclusive();
  if (exclusive) group->setExclusive(false);
  SetSelected(select_, selected, notify);
  if (exclusive) group->setExclusive(true);
}

bool CDeviceOptionUI::IsSelected() const {
  return select_ && vorlin::IsSelected(select_);
}

void CDeviceOptionUI::SetShown(bool shown) {
  shown_ = shown;
  setVisible(shown);
}

void CDeviceOptionUI::ShowSynchro(bool visible) {
  if (synchro_) synchro_->setVisible(visible);
  UpdateIcon();
}

void CDeviceOptionUI::SetSynchroSelected(bool selected) {
  if (synchro_) SetSelected(synchro_, selected, false);
  UpdateIcon();
}

bool CDeviceOptionUI::SynchroSelected() const {
  return synchro_ && vorlin::IsSelected(synchro_);
}

CDeviceOptionUI* OptionOfControl(QWidget* control) {
  for (QWidget* w = control; w; w = w->parentWidget()) {
    if (auto* option = qobject_cast<CDeviceOptionUI*>(w)) return option;
  }
  return nullptr;
}

int NeighbourShownOption(const std::vector<bool>& shown, int from, int step) {
  if (step == 0) return -1;
  for (int i = from + step; i >= 0 && i < static_cast<int>(shown.size()); i += step) {
    if (shown[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

}  // namespace vorlin
