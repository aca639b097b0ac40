#include "app/device_page.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/device_option.h"
#include "hid/device_link.h"
#include "platform/log.h"
#include "ui/layout_loader.h"
#include "ui/translator.h"

namespace vorlin {

CDevicePage::CDevicePage(DeviceFamily family, QWidget* parent)
    : QWidget(parent), family_(family), link_(std::make_unique<DeviceLink>()) {}

bool CDevicePage::LinkOpen() const {
  return link_->open.load();
}

void CDevicePage::LeaveSynchronisedLighting() {
  link_->lightingHold.store(false);
}

CDevicePage::~CDevicePage() {
  Shutdown();
}

bool CDevicePage::Attach(const DevicePageInit& init) {
  init_ = init;
  key_ = init.key;
  kind_ = init.key.kind;
  role_ = init.key.role;
  return true;
}

void CDevicePage::StoreKey(const InterfaceEntry& key, uint16_t kind, uint16_t role) {
  key_ = key;
  kind_ = kind;
  role_ = role;
}

void CDevicePage::SetOption(CDeviceOptionUI* option) {
  option_ = option;
}
CDeviceOptionUI* CDevicePage::Option() const {
  return option_;
}

void CDevicePage::StartUp() {}
void CDevicePage::Disconnected() {}
void CDevicePage::OpenEventInterface(const std::string&, uint16_t) {}
void CDevicePage::CloseEventInterface(uint16_t) {}

void CDevicePage::Shutdown() {
  link_->open.store(false);
  link_->WiredInterface().Close();
  link_->ReceiverInterface().Close();
}

bool CPlaceholderDevicePage::Attach(const DevicePageInit& init) {
  if (!CDevicePage::Attach(init)) return false;
  setObjectName(init.dataName + QStringLiteral("_page"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(24, 16, 24, 16);
  row->setSpacing(32);

  auto* picture = new QWidget(this);
  picture->setObjectName(QStringLiteral("device_picture_area"));
  auto* picture_box = new QVBoxLayout(picture);
  picture_box->setContentsMargins(0, 0, 0, 0);
  QWidget* tree = AttachSubLayout(picture, init.layout);
  if (!tree) {
    qCWarning(lcVorlin) << "device page layout" << init.layout << "cannot be built";
    return false;
  }
  // The pictures place their parts by position: the tree keeps its layout size.
  if (tree->minimumSize().isEmpty()) tree->setMinimumSize(tree->size());
  row->addStretch(1);
  row->addWidget(picture, 0, Qt::AlignCenter);

  auto* info = new QFrame(this);
  info->setObjectName(QStringLiteral("device_info_card"));
  info->setProperty("role", QStringLiteral("card"));
  info->setFixedWidth(300);
  auto* info_box = new QVBoxLayout(info);
  info_box->setContentsMargins(20, 18, 20, 18);
  info_box->setSpacing(10);
  auto* name = new QLabel(info);
  name->setObjectName(QStringLiteral("device_page_name"));
  name->setProperty("role", QStringLiteral("heading"));
  Translator::Instance().SetTextKey(
      name, DeviceIconStem(init.key.kind, 0) + QStringLiteral("_device_name_text"));
  connection_ = new QLabel(info);
  connection_->setObjectName(QStringLiteral("device_page_connection"));
  connection_->setProperty("role", QStringLiteral("muted"));
  auto* note = new QLabel(info);
  note->setObjectName(QStringLiteral("device_page_note"));
  note->setWordWrap(true);
  Translator::Instance().SetTextKey(note, QStringLiteral("device_page_note_text"));
  info_box->addWidget(name);
  info_box->addWidget(connection_);
  info_box->addSpacing(6);
  info_box->addWidget(note);
  info_box->addStretch(1);
  row->addWidget(info, 0, Qt::AlignVCenter);
  row->addStretch(1);
  ShowConnection();
  return true;
}

void CPlaceholderDevicePage::ShowConnection() {
  if (!connection_) return;
  QString key = QStringLiteral("device_page_disconnected_text");
  if (Link().open.load()) {
    key = OnReceiver() ? QStringLiteral("device_page_receiver_text")
                       : QStringLiteral("device_page_cable_text");
  }
  Translator::Instance().SetTextKey(connection_, key);
}

void CPlaceholderDevicePage::StartUp() {
  ShowConnection();
  // Through the receiver the device itself may be switched off: its option is shown only once it
  // answers.
  if (OnReceiver() && Link().open.load() && Link().ProbeWireless()) {
    emit OptionShowRequested(Init().pageRow, true);
  }
}

void CPlaceholderDevicePage::Disconnected() {
  ShowConnection();
}

DevicePageFactory& DevicePageFactory::Instance() {
  static DevicePageFactory factory;
  return factory;
}

void DevicePageFactory::Register(DeviceFamily family, Creator creator) {
  const int index = static_cast<int>(family);
  if (index >= 0 && index < 4) creators_[index] = std::move(creator);
}

std::unique_ptr<CDevicePage> DevicePageFactory::Create(DeviceFamily family) const {
  const int index = static_cast<int>(family);
  if (index < 0 || index >= 4) return nullptr;
  if (creators_[index]) return creators_[index]();
  return std::make_unique<CPlaceholderDevicePage>(family);
}

}  // namespace vorlin
