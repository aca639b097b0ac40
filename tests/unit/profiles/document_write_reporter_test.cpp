#include "profiles/document_write_reporter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "profiles/atomic_file_write.h"
#include "profiles/json_file_io.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;

// What one listener has heard about the paths under one folder (other tests of the process write
// and fail elsewhere).
class HeardFailures {
 public:
  explicit HeardFailures(std::filesystem::path folder)
      : folder_(std::move(folder)),
        registration_(
            DocumentWriteReporter::Instance().Listen([this](const DocumentWriteFailure& failure) {
              if (failure.path.parent_path() != folder_) return;
              std::lock_guard lock(mutex_);
              heard_.push_back(failure);
            })) {}
  std::vector<DocumentWriteFailure> Heard() {
    std::lock_guard lock(mutex_);
    return heard_;
  }
  void Stop() { registration_.Reset(); }

 private:
  std::filesystem::path folder_;
  std::mutex mutex_;
  std::vector<DocumentWriteFailure> heard_;
  DocumentWriteReporter::Registration registration_;
};

const std::error_code kIsFolder(EISDIR, std::generic_category());
const std::error_code kNoFolder(ENOENT, std::generic_category());

// A folder where the document should be: every save fails, the first one is told with the path
// and the cause, the saves go on, and after the path has been written once a new failure is told
// again.
TEST(DocumentWriteReporterTest, AFailedSaveIsToldOncePerCauseAndTheSavesGoOn) {
  TempFolder folder;
  HeardFailures heard(folder.path());
  const std::filesystem::path path = folder.path() / "p.Json";
  std::filesystem::create_directories(path / "in the way");

  Json::Value document(Json::objectValue);
  for (int save = 0; save < 3; ++save) {
    document["Save"] = save;
    EXPECT_FALSE(JsonFileIo::WriteJsonFile(path, document));
  }
  ASSERT_EQ(heard.Heard().size(), 1u);
  EXPECT_EQ(heard.Heard()[0].path, path);
  EXPECT_EQ(heard.Heard()[0].cause, kIsFolder);

  // The folder goes away: the next save stores the document.
  std::filesystem::remove_all(path);
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(path, document));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(path), document);
  EXPECT_EQ(heard.Heard().size(), 1u);

  // The same fault again after a success is news.
  std::filesystem::remove(path);
  std::filesystem::create_directories(path / "in the way");
  document["Save"] = 4;
  EXPECT_FALSE(JsonFileIo::WriteJsonFile(path, document));
  EXPECT_EQ(heard.Heard().size(), 2u);
}

TEST(DocumentWriteReporterTest, EachPathAndEachKindOfErrorIsItsOwnCause) {
  TempFolder folder;
  HeardFailures heard(folder.path());
  DocumentWriteReporter& reporter = DocumentWriteReporter::Instance();
  const std::filesystem::path a = folder.path() / "a.Json", b = folder.path() / "b.Json";
  const struct {
    std::filesystem::path path;
    std::error_code cause;
    size_t told_so_far;
  } steps[] = {
      {a, kIsFolder, 1}, {a, kIsFolder, 1}, {b, kIsFolder, 2}, {a, kNoFolder, 3},
      {a, kNoFolder, 3}, {b, kNoFolder, 4}, {b, kIsFolder, 4},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.path.string() + " " + step.cause.message());
    reporter.ReportFailure(step.path, step.cause);
    EXPECT_EQ(heard.Heard().size(), step.told_so_far);
  }
  // A success of one path clears that path only.
  reporter.ReportSuccess(a);
  reporter.ReportFailure(b, kIsFolder);
  reporter.ReportFailure(a, kIsFolder);
  EXPECT_EQ(heard.Heard().size(), 5u);
}

TEST(DocumentWriteReporterTest, AListenerThatHasLeftHearsNothing) {
  TempFolder folder;
  HeardFailures heard(folder.path());
  heard.Stop();
  DocumentWriteReporter::Instance().ReportFailure(folder.path() / "a.Json", kIsFolder);
  EXPECT_TRUE(heard.Heard().empty());
}

// Saves on several threads at once, listeners coming and going meanwhile: each cause is told
// exactly once. Build it with the tsan preset to look for data races as well.
TEST(DocumentWriteReporterTest, SavesOnManyThreadsTellEachCauseOnce) {
  TempFolder folder;
  HeardFailures heard(folder.path());
  constexpr int kThreads = 4;
  std::vector<std::filesystem::path> paths;
  for (int i = 0; i < kThreads; ++i) {
    paths.push_back(folder.path() / ("p" + std::to_string(i) + ".Json"));
    std::filesystem::create_directories(paths.back() / "in the way");
  }
  std::atomic<bool> stop{false};
  std::thread churn([&] {
    while (!stop.load()) {
      auto registration = DocumentWriteReporter::Instance().Listen([](const auto&) {});
      std::this_thread::yield();
    }
  });
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&paths, t] {
      for (int i = 0; i < 50; ++i)
        WriteFileAtomically(paths[static_cast<size_t>((t + i) % kThreads)], "text");
    });
  }
  for (std::thread& writer : writers) writer.join();
  stop = true;
  churn.join();
  EXPECT_EQ(heard.Heard().size(), static_cast<size_t>(kThreads));
}

}  // namespace
}  // namespace vorlin
