#include "profiles/stale_temporaries.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>

#include "platform/scoped_fd.h"
#include "profiles/atomic_file_write.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::TempFolder;
using testing::WriteText;
namespace fs = std::filesystem;

TEST(StaleTemporariesTest, OnlyTheWritersOwnNamesAreTemporaries) {
  const struct {
    const char* name;
    bool own;
  } cases[] = {
      {".ProfileList.ini.tmp-4242-3735928559-0", true},
      {".2024_03_09_14_05_07_042.Json.tmp-1-2-17", true},
      {".a.tmp-1-2-3", true},
      {"ProfileList.ini", false},
      {"ProfileList.ini.tmp-1-2-3", false},  // not hidden
      {".ProfileList.ini.tmp-1-2", false},   // a number short
      {".ProfileList.ini.tmp-1-2-3-4", false},
      {".ProfileList.ini.tmp-1-x-3", false},
      {".ProfileList.ini.tmp-1--3", false},
      {".tmp-1-2-3", false},  // names no document
      {".ProfileList.ini.unreadable-2024_01_01_00_00_00_000", false},
      {".ProfileList.ini.tmp-", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsOwnTemporaryName(c.name), c.own) << c.name;
}

class StaleTemporariesSweepTest : public ::testing::Test {
 protected:
  // A temporary file that a save killed before its rename left behind, as the writer makes it.
  fs::path LeftBehind(const fs::path& document) {
    const std::optional<fs::path> temporary = WriteTemporaryBeside(document, "{}\n");
    EXPECT_TRUE(temporary.has_value());
    return temporary.value_or(fs::path());
  }
  static void Age(const fs::path& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  std::set<std::string> Names(const fs::path& folder) const {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) names.insert(item.path().filename());
    return names;
  }

  TempFolder temp_;
  fs::path root_ = temp_.path();
  fs::path mouse_ = temp_.path() / "mouse";
};

// A writer killed before its rename: the next start removes what it left, in the data folder and
// in the device folders, and nothing else.
TEST_F(StaleTemporariesSweepTest, LeftoversOfAKilledSaveGoAtTheNextStart) {
  fs::create_directories(mouse_ / "deeper");
  WriteText(mouse_ / "ProfileList.ini", "list");
  WriteText(root_ / "main.ini", "settings");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The save got as far as its temporary file, then the program died.
    const bool written = WriteTemporaryBeside(mouse_ / "ProfileList.ini", "new list").has_value() &&
                         WriteTemporaryBeside(root_ / "main.ini", "new").has_value();
    ::_exit(written ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  const fs::path too_deep = LeftBehind(mouse_ / "deeper" / "x.Json");
  WriteText(mouse_ / ".notes.tmp-mine", "a user's own file");
  fs::create_symlink(mouse_ / "ProfileList.ini", mouse_ / ".link.tmp-1-2-3");
  for (const auto& item : fs::recursive_directory_iterator(root_)) {
    if (!item.is_symlink()) Age(item.path());
  }
  ASSERT_EQ(Names(mouse_).size(), 5u);

  EXPECT_EQ(RemoveStaleTemporaries(root_, fs::file_time_type::clock::now()), 2);
  EXPECT_EQ(Names(root_), (std::set<std::string>{"main.ini", "mouse"}));
  EXPECT_EQ(Names(mouse_), (std::set<std::string>{"ProfileList.ini", "deeper", ".notes.tmp-mine",
                                                  ".link.tmp-1-2-3"}));
  EXPECT_TRUE(fs::exists(too_deep));
  EXPECT_EQ(testing::ReadText(mouse_ / "ProfileList.ini"), "list");
}

// A temporary file that is newer than this start, or locked by a writer of a running instance,
// belongs to a save in progress.
TEST_F(StaleTemporariesSweepTest, ASaveInProgressKeepsItsTemporary) {
  fs::create_directories(mouse_);
  const fs::path held = LeftBehind(mouse_ / "a.Json");
  const fs::path fresh = LeftBehind(mouse_ / "b.Json");
  Age(held);
  const auto started = fs::file_time_type::clock::now() - std::chrono::minutes(1);
  ScopedFd writer(::open(held.c_str(), O_RDONLY | O_CLOEXEC));
  ASSERT_EQ(::flock(writer.get(), LOCK_EX | LOCK_NB), 0);

  EXPECT_EQ(RemoveStaleTemporaries(root_, started), 0);
  EXPECT_TRUE(fs::exists(held));
  EXPECT_TRUE(fs::exists(fresh));

  writer.Close();
  EXPECT_EQ(RemoveStaleTemporaries(root_, started), 1);
  EXPECT_FALSE(fs::exists(held));
  EXPECT_TRUE(fs::exists(fresh));
}

TEST_F(StaleTemporariesSweepTest, AMissingFolderIsNothingToSweep) {
  EXPECT_EQ(RemoveStaleTemporaries(root_ / "absent", fs::file_time_type::clock::now()), 0);
}

}  // namespace
}  // namespace vorlin
