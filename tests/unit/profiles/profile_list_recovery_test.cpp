// What happens to a profile list that cannot be used as it stands: nothing the user had is lost,
// and an ordinary start leaves the files alone.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "unit/profiles/profile_list_test_fixture.h"

namespace vorlin {
namespace {

using testing::ProfileListTest;
using testing::ReadText;
using testing::WriteText;

using Names = std::vector<std::string>;

class ProfileListRecoveryTest : public ProfileListTest {
 protected:
  // The files of the folder named "ProfileList.ini.unreadable-<stamp>".
  std::vector<std::filesystem::path> KeptLists() const {
    std::vector<std::filesystem::path> kept;
    for (const auto& item : std::filesystem::directory_iterator(folder_)) {
      if (item.path().filename().string().rfind("ProfileList.ini.unreadable-", 0) == 0)
        kept.push_back(item.path());
    }
    return kept;
  }
  ino_t Inode(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
  }
  mode_t Mode(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
  }
};

TEST_F(ProfileListRecoveryTest, ACorruptListIsKeptBeforeItIsReplaced) {
  const char* const corrupt_lists[] = {
      "{ \"profilelist\": [ {\"profilename\": \"Gaming\", \"profileUUID\": \"2024_01_01",
      "[]",
      R"({"profilelist": [{"profilename": "a", "profileUUID": "../../outside"}]})",
      // One usable entry: the other, dropped from the new list, is still in the kept copy.
      R"({"profilelist": [{"profilename": "x", "profileUUID": 5},)"
      R"( {"profilename": "b", "profileUUID": "b"}], "profileselect": 1})",
  };
  for (const char* text : corrupt_lists) {
    SCOPED_TRACE(text);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    WriteText(ListPath(), text);
    ProfileList list;
    list.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    EXPECT_TRUE(list.Load());
    const std::vector<std::filesystem::path> kept = KeptLists();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadText(kept[0]), text);
    EXPECT_TRUE(ListOnDisk()["profilelist"].isArray());
  }
}

TEST_F(ProfileListRecoveryTest, AGoodListIsNotKeptAside) {
  ASSERT_TRUE(list_.Load());
  ASSERT_TRUE(list_.Add().ok());
  ProfileList again;
  again.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  ASSERT_TRUE(again.Load());
  EXPECT_TRUE(KeptLists().empty());
}

TEST_F(ProfileListRecoveryTest, AnOrdinaryStartDoesNotRewriteTheList) {
  ASSERT_TRUE(list_.Load());
  ASSERT_TRUE(list_.Add().ok());
  const ino_t list_inode = Inode(ListPath());
  const ino_t document_inode = Inode(list_.DocumentPath(0));
  ASSERT_NE(list_inode, 0u);

  ProfileList again;
  again.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  ASSERT_TRUE(again.Load());
  EXPECT_EQ(again.SelectedIndex(), 1);
  // Every write replaces the file by a new one; the same file means it was not written.
  EXPECT_EQ(Inode(ListPath()), list_inode);
  EXPECT_EQ(Inode(again.DocumentPath(0)), document_inode);
  // Selecting the profile that is already current changes nothing either.
  ASSERT_TRUE(again.Select(1).ok());
  EXPECT_EQ(Inode(ListPath()), list_inode);
}

TEST_F(ProfileListRecoveryTest, AListWithoutPermissionsIsReplacedByOneItsOwnerCanUse) {
  ASSERT_TRUE(list_.Load());
  ASSERT_TRUE(list_.Add().ok());
  ASSERT_EQ(::chmod(ListPath().c_str(), 0), 0);

  ProfileList again;
  again.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  again.Load();
  ASSERT_TRUE(again.Select(0).ok());
  EXPECT_EQ(Mode(ListPath()) & 0600, 0600u);
  EXPECT_EQ(NamesOnDisk(), (Names{"profile1", "profile2"}));
  EXPECT_EQ(ListOnDisk()["profileselect"].asInt(), 0);
}

// The same for a user who really cannot read the file (root reads anything, so the test drops to
// an unprivileged user in a child process): the list is moved aside, the new one is usable, and
// the selection made after that survives the next start.
TEST_F(ProfileListRecoveryTest, AnUnreadableListIsMovedAsideAndTheNextStartKeepsTheSelection) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(::chmod(temp_.path().c_str(), 0777), 0);
  ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
    {
      ProfileList first;
      first.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
      if (!first.Load() || !first.Add().ok()) ::_exit(11);
    }
    if (::chmod(ListPath().c_str(), 0) != 0) ::_exit(12);
    ProfileList second;
    second.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    second.Load();  // rebuilt from the profile documents
    if (second.Count() != 2 || !second.Select(1).ok()) ::_exit(13);
    if (KeptLists().size() != 1 || Mode(KeptLists()[0].string()) != 0) ::_exit(14);
    ProfileList third;
    third.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    if (!third.Load() || third.SelectedIndex() != 1) ::_exit(15);
    if ((Mode(ListPath()) & 0600) != 0600 || KeptLists().size() != 1) ::_exit(16);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "step that failed: 10 user, 11 first start, 12 chmod, "
                                       "13 rebuilt list, 14 kept copy, 15 selection, 16 mode";
}

}  // namespace
}  // namespace vorlin
