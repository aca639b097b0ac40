#pragma once

#include <gtest/gtest.h>
#include <json/value.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "profiles/json_file_io.h"
#include "profiles/profile_list.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin::testing {

// The shipped factory document of a kind.
inline std::string ShippedFactoryPath(const std::string& data_name) {
  return VORLIN_SOURCE_DIR "/data/DefaultData/" + data_name + ".Json";
}

// A profile list of the mouse kind in a fresh user data folder, with the shipped factory
// document.
class ProfileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp_.path().empty());
    std::filesystem::create_directories(folder_);
    list_.SetFolders(folder_, ShippedFactoryPath("mouse"));
  }

  // A list already holding profiles with these names, the first one current.
  void LoadWithNames(const std::vector<std::string>& names) {
    ASSERT_TRUE(list_.Load());
    for (size_t i = 1; i < names.size(); ++i) ASSERT_TRUE(list_.Add().ok());
    for (size_t i = 0; i < names.size(); ++i)
      ASSERT_EQ(list_.Rename(static_cast<int>(i), names[i]), ProfileList::RenameResult::kRenamed);
    ASSERT_TRUE(list_.Select(0).ok());
  }

  std::string ListPath() const { return folder_ + "ProfileList.ini"; }
  Json::Value ListOnDisk() const { return JsonFileIo::ReadJsonFile(ListPath()); }
  std::vector<std::string> NamesOnDisk() const {
    std::vector<std::string> names;
    const Json::Value list = ListOnDisk();
    for (const Json::Value& item : list["profilelist"])
      names.push_back(item["profilename"].asString());
    return names;
  }
  Json::Value Document(int index) const {
    return JsonFileIo::ReadJsonFile(list_.DocumentPath(index));
  }
  Json::Value FactoryEntry() const {
    return JsonFileIo::ReadJsonFile(ShippedFactoryPath("mouse"))["Device"][0];
  }
  // Every file of the folder with its contents, to show that an operation changed nothing.
  std::set<std::pair<std::string, std::string>> FolderSnapshot() const {
    std::set<std::pair<std::string, std::string>> files;
    for (const auto& item : std::filesystem::directory_iterator(folder_)) {
      files.emplace(item.path().filename().string(),
                    item.is_regular_file() ? ReadText(item.path()) : std::string("(folder)"));
    }
    return files;
  }

  TempFolder temp_;
  std::string folder_ = temp_.File("mouse") + "/";
  ProfileList list_;
};

}  // namespace vorlin::testing
