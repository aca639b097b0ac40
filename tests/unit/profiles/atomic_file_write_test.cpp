#include "profiles/atomic_file_write.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "profiles/json_file_io.h"
#include "profiles/stale_temporaries.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

TEST(AtomicFileWriteTest, CrashBeforeTheRenameLeavesTheOldDocument) {
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  WriteText(path, "old contents");

  // The new contents reached a temporary file, then the program died before the rename.
  const auto temporary = WriteTemporaryBeside(path, "new contents");
  ASSERT_TRUE(temporary.has_value());
  EXPECT_EQ(temporary->parent_path(), folder.path());
  EXPECT_EQ(ReadText(path), "old contents");

  // The leftover is not the document: readers ignore it and the next write replaces the document.
  EXPECT_NE(temporary->filename(), "p.Json");
  ASSERT_TRUE(WriteFileAtomically(path, "newer contents"));
  EXPECT_EQ(ReadText(path), "newer contents");
  EXPECT_EQ(ReadText(*temporary), "new contents");
}

TEST(AtomicFileWriteTest, ReplaceCompletesTheWrite) {
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  WriteText(path, "old");
  const auto temporary = WriteTemporaryBeside(path, "new");
  ASSERT_TRUE(temporary.has_value());
  ASSERT_TRUE(ReplaceWithTemporary(*temporary, path));
  EXPECT_EQ(ReadText(path), "new");
  EXPECT_FALSE(std::filesystem::exists(*temporary));
}

TEST(AtomicFileWriteTest, FailedReplaceRemovesTheTemporaryAndKeepsTheDocument) {
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  WriteText(path, "old");
  const auto temporary = WriteTemporaryBeside(path, "new");
  ASSERT_TRUE(temporary.has_value());
  // Renaming a file over a non-empty folder fails.
  std::filesystem::create_directories(folder.File("blocker/child"));
  EXPECT_FALSE(ReplaceWithTemporary(*temporary, folder.File("blocker")));
  EXPECT_FALSE(std::filesystem::exists(*temporary));
  EXPECT_EQ(ReadText(path), "old");
}

TEST(AtomicFileWriteTest, KeepsThePermissionsOfTheReplacedFile) {
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  WriteText(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A file its owner had locked out (by hand, or by a tool) must not lock the program out of its
// own document again at every later write: the owner's read and write bits are always set.
TEST(AtomicFileWriteTest, TheReplacementIsReadableAndWritableByItsOwner) {
  const struct {
    mode_t before, after;
  } cases[] = {{0640, 0640}, {0000, 0600}, {0400, 0600}, {0444, 0644}, {0200, 0600}};
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    WriteText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), c.before), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.after);
    EXPECT_EQ(ReadText(path), "new");
  }
}

// A writer killed at arbitrary moments never leaves a partial document behind.
TEST(AtomicFileWriteTest, KilledWriterLeavesAWholeDocument) {
  TempFolder folder;
  const std::string path = folder.File("p.Json");
  Json::Value a(Json::objectValue), b(Json::objectValue);
  for (int i = 0; i < 2000; ++i) {
    a["Device"][0]["KeyList"][i]["Assignment"] = i;
    b["Device"][0]["KeyList"][i]["Assignment"] = 2 * i;
  }
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(path, a));
  for (int round = 0; round < 10; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int n = 0;; ++n) JsonFileIo::WriteJsonFile(path, n % 2 == 0 ? b : a);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + 3 * round));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const Json::Value read = JsonFileIo::ReadJsonFile(path);
    EXPECT_TRUE(read == a || read == b) << "round " << round;
  }
  // The next start removes whatever temporary files the killed writers left, and only those.
  RemoveStaleTemporaries(folder.path(), std::filesystem::file_time_type::clock::now());
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder.path()))
    names.push_back(item.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"p.Json"});
}

}  // namespace
}  // namespace vorlin
