#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include "profile_bar/common_file_dialogs.h"
#include "profile_bar/device_profile_ui.h"
#include "devices/device_capabilities.h"
#include "profiles/json_file_io.h"
#include "shell/message_box.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"
#include "support/qt_test_support.h"

namespace vorlin::testing {

inline std::string FactoryPath(const char* data_name) {
  return std::string(VORLIN_SOURCE_DIR "/data/DefaultData/") + data_name + ".Json";
}

// The device page's side: records what the bar asks of it.
class RecordingHost : public ProfileControl {
 public:
  void ApplyProfile(const std::string& id, const std::string& path) override {
    applied.emplace_back(id, path);
  }
  void ResetToFactory() override { ++resets; }

  std::vector<std::pair<std::string, std::string>> applied;
  int resets = 0;
};

// Dialogs that answer with prepared paths and note how they were asked.
class ScriptedDialogs : public CommonFileDialogs {
 public:
  QString OpenFile(QWidget*, const QString& filter) override {
    calls << QStringLiteral("open:") + filter;
    return open_answer;
  }
  QString SaveFile(QWidget*, const QString& filter) override {
    calls << QStringLiteral("save:") + filter;
    return save_answer;
  }
  QString open_answer;
  QString save_answer;
  QStringList calls;
};

// Hands every notification of the window to its bars, as the main window does.
class BarRouter : public NotifyHandler {
 public:
  void Notify(const Notification& n) override {
    for (CDeviceProfileUI* bar : bars) bar->HandleNotification(n);
  }
  std::vector<CDeviceProfileUI*> bars;
};

// A window holding one profile bar of the mouse kind in a fresh user data folder.
class ProfileBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    SkinManager::Instance().SetSkinFolder(SkinFolder());
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    window_ = std::make_unique<QWidget>();
    new QVBoxLayout(window_.get());
    NotifyBridge::Install(window_.get(), &router_);
    bar_ = AddBar(folder_);
  }

  CDeviceProfileUI* AddBar(const std::string& folder) {
    auto* bar = new CDeviceProfileUI(window_.get());
    window_->layout()->addWidget(bar);
    router_.bars.push_back(bar);
    bar->SetHost(&host_);
    bar->SetMessageBox([this](QWidget*, const QString& key, int buttons, const QString& object) {
      asked << key + (buttons == kMessageConfirmCancel ? QStringLiteral("?") : QString());
      asked_about << object;
      if (answers.empty()) return 1;
      const int answer = answers.front();
      answers.pop_front();
      return answer;
    });
    auto dialogs = std::make_unique<ScriptedDialogs>();
    if (!dialogs_) dialogs_ = dialogs.get();
    bar->SetFileDialogs(std::move(dialogs));
    bar->SetFolders(folder, FactoryPath("mouse"));
    return bar;
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return FindControl<T>(bar_, QString::fromLatin1(name));
  }
  QComboBox* Combo() const { return Control<QComboBox>("device_profile_combo"); }
  QStringList ComboTexts() const {
    QStringList texts;
    for (int i = 0; i < Combo()->count(); ++i) texts << Combo()->itemText(i);
    return texts;
  }
  void Click(const char* name) {
    auto* button = Control<QPushButton>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
  }
  std::string IdAt(int index) const { return bar_->List().Profiles().at(index).id; }
  Json::Value ListOnDisk() const { return JsonFileIo::ReadJsonFile(folder_ + "ProfileList.ini"); }
  std::vector<std::string> FolderFiles() const {
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::directory_iterator(folder_))
      files.push_back(item.path().filename().string() + "=" +
                      JsonFileIo::ReadTextFile(item.path()));
    std::sort(files.begin(), files.end());
    return files;
  }

  QTemporaryDir temp_;
  std::string folder_ = temp_.path().toStdString() + "/mouse/";
  std::unique_ptr<QWidget> window_;
  BarRouter router_;
  RecordingHost host_;
  ScriptedDialogs* dialogs_ = nullptr;
  CDeviceProfileUI* bar_ = nullptr;
  QStringList asked;        // text keys of the messages, "?" marking a question
  QStringList asked_about;  // the object each message names (empty when none)
  std::deque<int> answers;  // answers to give; 1 (confirm) once they run out
};

}  // namespace vorlin::testing
