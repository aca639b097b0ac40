#include "app/storage_notice.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <thread>

#include "profiles/json_file_io.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

class StorageNoticeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Translator::Instance().LoadLanguage(QStringLiteral("lan_en.xml")));
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString();
  }
  // A document path with a folder in the way: every save of it fails.
  std::filesystem::path BlockedDocument(const std::string& name) const {
    const std::filesystem::path path = folder_ / name;
    std::filesystem::create_directories(path / "in the way");
    return path;
  }
  static bool Save(const std::filesystem::path& path, int value) {
    Json::Value document(Json::objectValue);
    document["Value"] = value;
    return JsonFileIo::WriteJsonFile(path, document);
  }
  // Runs the event loop until `count` messages were shown (or a generous bound passes).
  void WaitForMessages(qsizetype count) {
    const QDeadlineTimer deadline(5000);
    while (shown_.size() < count && !deadline.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  QTemporaryDir dir_;
  std::filesystem::path folder_;
  QStringList shown_;
};

// Saves on a device thread that cannot store a document: the window says so once, naming the
// file and the cause, while the saves go on failing.
TEST_F(StorageNoticeTest, AFailedSaveOnAnotherThreadIsShownOnceWithItsPathAndCause) {
  StorageNotice notice(nullptr, [this](const QString& text) { shown_ << text; });
  const std::filesystem::path path = BlockedDocument("p.Json");
  std::thread device_thread([&] {
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(Save(path, i));
  });
  device_thread.join();
  WaitForMessages(1);
  QCoreApplication::processEvents();
  ASSERT_EQ(shown_.size(), 1);
  EXPECT_TRUE(shown_[0].startsWith(QStringLiteral("Your settings could not be stored in")));
  EXPECT_TRUE(shown_[0].contains(QString::fromStdString(path.string()))) << shown_[0].toStdString();
  EXPECT_TRUE(shown_[0].contains(QStringLiteral("Is a directory"))) << shown_[0].toStdString();
}

TEST_F(StorageNoticeTest, FailuresOfOneSaveComeInOneMessage) {
  StorageNotice notice(nullptr, [this](const QString& text) { shown_ << text; });
  const std::filesystem::path list = BlockedDocument("ProfileList.ini");
  const std::filesystem::path document = BlockedDocument("q.Json");
  EXPECT_FALSE(Save(document, 1));
  EXPECT_FALSE(Save(list, 1));
  WaitForMessages(1);
  QCoreApplication::processEvents();
  ASSERT_EQ(shown_.size(), 1);
  EXPECT_TRUE(shown_[0].contains(QString::fromStdString(list.string())));
  EXPECT_TRUE(shown_[0].contains(QString::fromStdString(document.string())));
}

TEST_F(StorageNoticeTest, AFailureAfterTheWindowHasGoneShowsNothing) {
  const std::filesystem::path path = BlockedDocument("r.Json");
  {
    StorageNotice notice(nullptr, [this](const QString& text) { shown_ << text; });
    EXPECT_FALSE(Save(path, 1));
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(shown_.isEmpty());
}

}  // namespace
}  // namespace vorlin
