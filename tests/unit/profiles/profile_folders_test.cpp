#include "profiles/profile_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

TEST(ProfileFoldersTest, DocumentPaths) {
  testing::TempFolder folder;
  const std::string root = folder.File("vorlin");
  const ProfileFolders folders{"/opt/vorlin/data", root};
  EXPECT_EQ(DefaultDocumentPath(folders, "MousePad"), "/opt/vorlin/data/DefaultData/MousePad.Json");
  EXPECT_EQ(DefaultLightNamesPath(folders), "/opt/vorlin/data/DefaultData/default_light.json");
  EXPECT_EQ(DefaultDataFolder(ProfileFolders{"/opt/vorlin/data/", root}),
            "/opt/vorlin/data/DefaultData/");
  EXPECT_EQ(ProfileDocumentPath(folders, "mouse", "2024_03_09_14_05_07_042"),
            root + "/mouse/2024_03_09_14_05_07_042.Json");
  EXPECT_EQ(LightConfigPath(folders, "HD"), root + "/HD/torva_light.config");
}

TEST(ProfileFoldersTest, UserDataFolderIsCreatedEveryTimeItIsAskedFor) {
  testing::TempFolder folder;
  const ProfileFolders folders{"", folder.File("not/yet/there")};
  const std::string kind = UserDataFolder(folders, "keyboard");
  EXPECT_EQ(kind, folder.File("not/yet/there") + "/keyboard/");
  EXPECT_TRUE(std::filesystem::is_directory(kind));
  std::filesystem::remove_all(folder.File("not"));
  ProfileDocumentPath(folders, "keyboard", "p");
  EXPECT_TRUE(std::filesystem::is_directory(kind));
}

TEST(ProfileFoldersTest, NamesThatLeaveTheFolderGiveNoPath) {
  testing::TempFolder folder;
  const ProfileFolders folders{"", folder.path().string()};
  for (const char* id : {"", ".", "..", "../../etc/x", "a/b", "/abs"}) {
    EXPECT_EQ(ProfileDocumentPath(folders, "mouse", id), "") << id;
  }
  EXPECT_EQ(ProfileDocumentPath(folders, "mouse", std::string_view("a\0b", 3)), "");
  EXPECT_EQ(UserDataFolder(folders, "../mouse"), "");
  EXPECT_EQ(LightConfigPath(folders, "mouse", "x/y"), "");
  // Dots inside a name are fine.
  EXPECT_NE(ProfileDocumentPath(folders, "mouse", "..hidden"), "");
}

}  // namespace
}  // namespace vorlin
