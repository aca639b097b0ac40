#pragma once

// A window holding one shoot panel whose notifications reach the panel as the device page hands
// them on, a host stand-in that records what the panel asks of it, and a fresh user data folder
// with the factory gun files of the source tree as the default folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include "profiles/gun_document.h"
#include "shoot/shoot_control_ui.h"
#include "devices/device_capabilities.h"
#include "support/page_services_stub.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"
#include "support/qt_test_support.h"

namespace vorlin::testing {

inline std::filesystem::path FactoryFolder() {
  return VORLIN_SOURCE_DIR "/data/DefaultData";
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The mouse and its page: answers with prepared results and notes every call. A send reports
// back to the panel at once, as the mouse's report would.
class FakeShootHost : public RecoilControl, public StubPageServices {
 public:
  void DownloadShootData() override {
    ++downloads;
    if (panel) panel->SendFinished(download_result == 1);
  }
  int ShowMessage(const QString& text_key, bool, std::optional<int>, const QString&) override {
    notices << text_key;
    return 1;
  }
  QString OpenFile(const QString& filter) override {
    dialogs << QStringLiteral("open:") + filter;
    return open_answer;
  }
  QString SaveFile(const QString& filter) override {
    dialogs << QStringLiteral("save:") + filter;
    return save_answer;
  }

  CShootControlUI* panel = nullptr;
  int downloads = 0;
  int download_result = 1;
  QStringList notices;
  QStringList dialogs;
  QString open_answer;
  QString save_answer;
};

// Hands every notification of the window to the panel, as the device page does.
class PanelRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    if (panel) handled.push_back(panel->HandleNotification(n));
  }
  CShootControlUI* panel = nullptr;
  std::vector<bool> handled;
};

class ShootPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    SkinManager::Instance().SetSkinFolder(SkinFolder());
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    data_ = std::filesystem::path(temp_.path().toStdString()) / "mouse";
    window_ = std::make_unique<QWidget>();
    new QVBoxLayout(window_.get());
    NotifyBridge::Install(window_.get(), &router_);
    NewPanel();
  }

  // A panel as the page makes it (its guns not yet set up), in place of the one there.
  void NewPanel() {
    delete panel_;
    panel_ = new CShootControlUI(window_.get());
    window_->layout()->addWidget(panel_);
    router_.panel = panel_;
    panel_->SetHost(&host_, &host_);
    host_.panel = panel_;
    panel_->SetDataFolder(data_.string());
    panel_->SetDefaultFolder(FactoryFolder().string());
  }

  // Seeds every gun file from the factory files without going through the panel.
  void SeedAll() {
    std::filesystem::create_directories(data_);
    for (int gun = 0; gun < kGunCount; ++gun)
      std::filesystem::copy_file(GunFilePath(FactoryFolder(), gun), GunFilePath(data_, gun));
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return qobject_cast<T*>(panel_->Control(QString::fromLatin1(name)));
  }
  QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
  QAbstractButton* Button(const QString& name) const {
    return qobject_cast<QAbstractButton*>(panel_->Control(name));
  }
  QAbstractButton* Button(const char* name) const { return Button(QString::fromLatin1(name)); }

  // A notification raised by a control of the panel, as the toolkit would.
  void Raise(const char* control, const char* type) {
    QWidget* sender = Control(control);
    ASSERT_NE(sender, nullptr) << control;
    SendNotification(sender, QString::fromLatin1(type));
  }
  void Click(const char* control) {
    QAbstractButton* button = Button(control);
    ASSERT_NE(button, nullptr) << control;
    button->click();
  }

  // Types the bullet into the editor and lets an edit lose focus.
  void EnterBullet(const Bullet& b) {
    SetSelected(Button("bullet_x_check"), b.x_left, false);
    SetSelected(Button("bullet_y_check"), b.y_up, false);
    Edit("bullet_x_eidt")->setText(QString::number(b.x_distance));
    Edit("bullet_y_eidt")->setText(QString::number(b.y_distance));
    Edit("bullet_delay_eidt")->setText(QString::number(b.delay));
    Raise("bullet_delay_eidt", "killfocus");
  }

  // What the editor shows, read back as a bullet.
  Bullet Shown() const {
    Bullet b;
    b.x_left = Button("bullet_x_check")->isChecked();
    b.y_up = Button("bullet_y_check")->isChecked();
    b.x_distance = Edit("bullet_x_eidt")->text().toInt();
    b.y_distance = Edit("bullet_y_eidt")->text().toInt();
    b.delay = Edit("bullet_delay_eidt")->text().toInt();
    return b;
  }

  std::string GunBytes(int gun) const { return ReadBytes(GunFilePath(data_, gun)); }
  std::string FactoryBytes(int gun) const { return ReadBytes(GunFilePath(FactoryFolder(), gun)); }

  QTemporaryDir temp_;
  std::filesystem::path data_;
  FakeShootHost host_;
  PanelRouter router_;
  std::unique_ptr<QWidget> window_;
  CShootControlUI* panel_ = nullptr;
};

}  // namespace vorlin::testing
