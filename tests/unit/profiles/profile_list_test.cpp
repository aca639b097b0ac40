// The profile list: loading, selecting, adding, copying, renaming and deleting profiles.
#include "profiles/profile_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "profiles/json_file_io.h"
#include "unit/profiles/profile_list_test_fixture.h"

namespace vorlin {
namespace {

using Names = std::vector<std::string>;
using testing::ProfileListTest;
using testing::ReadText;
using testing::WriteText;
using Status = ProfileList::Status;
using RenameResult = ProfileList::RenameResult;

TEST_F(ProfileListTest, FirstStartMakesProfile1WithTheFactorySettings) {
  ASSERT_TRUE(list_.Load());
  ASSERT_EQ(list_.Count(), 1);
  EXPECT_EQ(list_.SelectedIndex(), 0);
  const std::string id = list_.CurrentId();
  EXPECT_EQ(list_.DocumentPath(0), folder_ + id + ".Json");

  Json::Value expected_list;
  expected_list["profilelist"][0]["profilename"] = "profile1";
  expected_list["profilelist"][0]["profileUUID"] = id;
  expected_list["profilelist"][0]["profileislink"] = 0;
  expected_list["profilelist"][0]["profilelinkmame"] = "";
  expected_list["profileselect"] = 0;
  EXPECT_EQ(ListOnDisk(), expected_list);

  const Json::Value document = Document(0);
  EXPECT_EQ(document["profilename"], "profile1");
  EXPECT_EQ(document["profileUUID"], id);
  EXPECT_EQ(document["Device"][0], FactoryEntry());
}

TEST_F(ProfileListTest, AListWithoutAUsableProfileStartsAfresh) {
  const char* const broken_lists[] = {
      nullptr,  // no file
      "",
      "{ not json",
      "[]",
      "42",
      R"({"profilelist": []})",
      R"({"profilelist": {"profilename": "a", "profileUUID": "a"}})",
      R"({"profilelist": [1, "x", null, []]})",
      R"({"profilelist": [{"profilename": "no id"}]})",
      R"({"profilelist": [{"profilename": "a", "profileUUID": 17}]})",
      R"({"profilelist": [{"profilename": "a", "profileUUID": "../../outside"}]})",
      R"({"profilelist": [{"profilename": "a", "profileUUID": ""}]})",
  };
  for (const char* text : broken_lists) {
    SCOPED_TRACE(text ? text : "(missing)");
    std::filesystem::remove(ListPath());
    if (text) WriteText(ListPath(), text);
    ProfileList list;
    list.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    EXPECT_TRUE(list.Load());
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Profiles()[0].name, "profile1");
    EXPECT_EQ(NamesOnDisk(), Names{"profile1"});
    EXPECT_TRUE(JsonFileIo::ReadJsonFile(list.DocumentPath(0))["Device"][0].isObject());
  }
  EXPECT_FALSE(std::filesystem::exists(temp_.File("outside.Json")));
}

TEST_F(ProfileListTest, DamagedEntriesAreLeftOutAndTheRestKept) {
  struct Case {
    const char* text;
    Names names;
    int selected;
  };
  const Case cases[] = {
      // The second entry repeats the first one's id: both would share one document.
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                           {"profilename": "B", "profileUUID": "a"},
                           {"profilename": "C", "profileUUID": "c"}], "profileselect": 2})",
       {"A", "C"},
       1},
      // The selected entry is left out: the first profile becomes current.
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"}, "junk",
                           {"profilename": "C", "profileUUID": "x/y"}], "profileselect": 2})",
       {"A"},
       0},
      // Entries without a usable name are named like new profiles.
      {R"({"profilelist": [{"profileUUID": "a"}, {"profilename": "  ", "profileUUID": "b"},
                           {"profilename": "profile1", "profileUUID": "c"}]})",
       {"profile2", "profile3", "profile1"},
       0},
      // Selections that name no profile.
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                           {"profilename": "B", "profileUUID": "b"}], "profileselect": 2})",
       {"A", "B"},
       0},
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                           {"profilename": "B", "profileUUID": "b"}], "profileselect": -1})",
       {"A", "B"},
       0},
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                           {"profilename": "B", "profileUUID": "b"}], "profileselect": "1"})",
       {"A", "B"},
       0},
      {R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                           {"profilename": "B", "profileUUID": "b"}], "profileselect": 1})",
       {"A", "B"},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteText(ListPath(), c.text);
    ProfileList list;
    list.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    ASSERT_TRUE(list.Load());
    EXPECT_EQ(list.Names(), c.names);
    EXPECT_EQ(list.SelectedIndex(), c.selected);
    // The repaired list is what the file holds from now on.
    EXPECT_EQ(NamesOnDisk(), c.names);
    EXPECT_EQ(ListOnDisk()["profileselect"], c.selected);
  }
}

TEST_F(ProfileListTest, ALostListIsRebuiltFromTheProfileDocuments) {
  const auto profile = [](const std::string& name, const std::string& id) {
    Json::Value document;
    document["Device"][0]["KeyList"] = Json::Value(Json::arrayValue);
    document["Device"][0]["Mark"] = id;
    document["profilename"] = name;
    document["profileUUID"] = id;
    return JsonFileIo::StyledText(document);
  };
  Json::Value no_settings;
  no_settings["profilename"] = "empty";
  no_settings["profileUUID"] = "2024_01_01_00_00_00_004";
  const std::vector<std::pair<std::string, std::string>> files = {
      {"2024_01_01_00_00_00_003.Json", profile("", "2024_01_01_00_00_00_003")},
      {"2024_01_01_00_00_00_001.Json", profile("Work", "2024_01_01_00_00_00_001")},
      {"2024_01_01_00_00_00_002.Json", profile("work\n", "2024_01_01_00_00_00_002")},
      // Not profile documents of this folder: left alone and unlisted.
      {"2024_01_01_00_00_00_004.Json", JsonFileIo::StyledText(no_settings)},
      {"moved.Json", profile("Moved", "2024_01_01_00_00_00_009")},
      {"notes.Json", "not json"},
      {"macro.config", profile("Macro", "macro")},
  };
  for (const char* list_text : {static_cast<const char*>(nullptr), "{ damaged"}) {
    SCOPED_TRACE(list_text ? list_text : "(missing)");
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (const auto& [name, text] : files) WriteText(folder_ + name, text);
    if (list_text) WriteText(ListPath(), list_text);

    ProfileList list;
    list.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    ASSERT_TRUE(list.Load());
    // Oldest first; names made unique and clean, a missing one given like a new profile's.
    EXPECT_EQ(list.Names(), (Names{"Work", "work(1)", "profile1"}));
    EXPECT_EQ(NamesOnDisk(), list.Names());
    EXPECT_EQ(list.SelectedIndex(), 0);
    for (int i = 0; i < list.Count(); ++i) {
      const Json::Value document = JsonFileIo::ReadJsonFile(list.DocumentPath(i));
      EXPECT_EQ(document["Device"][0]["Mark"], list.Profiles()[i].id);
    }
    for (const auto& [name, text] : files) EXPECT_EQ(ReadText(folder_ + name), text) << name;
  }
}

TEST_F(ProfileListTest, ListedProfilesWithoutADocumentGetOneOnLoad) {
  WriteText(ListPath(), R"({"profilelist": [{"profilename": "A", "profileUUID": "a"},
                                            {"profilename": "B", "profileUUID": "b"}],
                            "profileselect": 1})");
  WriteText(folder_ + "a.Json", "{\"mine\": 1}\n");
  ASSERT_TRUE(list_.Load());
  EXPECT_EQ(ReadText(folder_ + "a.Json"), "{\"mine\": 1}\n");
  const Json::Value made = JsonFileIo::ReadJsonFile(folder_ + "b.Json");
  EXPECT_EQ(made["Device"][0], FactoryEntry());
  EXPECT_EQ(made["profilename"], "B");
  EXPECT_EQ(made["profileUUID"], "b");
}

TEST_F(ProfileListTest, AnotherWriterMovingProfilesDoesNotRedirectAnOperation) {
  LoadWithNames({"A", "B", "C"});
  ASSERT_TRUE(list_.Select(1).ok());
  const std::string b_id = list_.Profiles()[1].id;
  const std::string c_path = list_.DocumentPath(2);

  // Another list on the same folder (a second page of the kind) selects C and deletes A.
  ProfileList other;
  other.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  ASSERT_TRUE(other.Load());
  EXPECT_EQ(other.SelectedIndex(), 1);  // it starts on the current profile
  ASSERT_TRUE(other.Select(2).ok());
  ASSERT_TRUE(other.Delete(0).ok());
  Json::Value c_document = JsonFileIo::ReadJsonFile(c_path);
  c_document["Device"][0]["LightInfo"]["Red"] = 55;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(c_path, c_document));

  // This list still shows A, B, C with B current: its indexes mean those profiles.
  EXPECT_EQ(list_.Rename(2, "C2"), RenameResult::kRenamed);
  EXPECT_EQ(NamesOnDisk(), (Names{"B", "C2"}));
  EXPECT_EQ(list_.CurrentId(), b_id);
  ASSERT_TRUE(list_.ResetProfile(list_.SelectedIndex()));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(c_path)["Device"][0]["LightInfo"]["Red"], 55);
  EXPECT_EQ(ListOnDisk()["profileselect"], 0);  // B, as this list last wrote it

  // A profile that is gone cannot be acted on through its old place.
  ProfileList stale;
  stale.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  ASSERT_TRUE(stale.Load());
  ASSERT_TRUE(list_.Delete(0).ok());
  // Its profile 0 is B, which is gone, not C2 that has taken its place.
  EXPECT_EQ(stale.Rename(0, "X"), RenameResult::kNoProfile);
  EXPECT_EQ(NamesOnDisk(), Names{"C2"});
  EXPECT_EQ(stale.Names(), Names{"C2"});  // and now knows the list as it is
  EXPECT_TRUE(std::filesystem::exists(c_path));
}

TEST_F(ProfileListTest, TheCurrentProfileIsCurrentAgainAfterARestart) {
  LoadWithNames({"A", "B", "C"});
  ASSERT_TRUE(list_.Select(1).ok());
  const std::string id = list_.CurrentId();

  ProfileList restarted;
  restarted.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
  ASSERT_TRUE(restarted.Load());
  EXPECT_EQ(restarted.SelectedIndex(), 1);
  EXPECT_EQ(restarted.CurrentId(), id);
  EXPECT_EQ(restarted.Names(), (Names{"A", "B", "C"}));
}

TEST_F(ProfileListTest, SelectingOutOfRangeChangesNothing) {
  LoadWithNames({"A", "B"});
  const auto before = FolderSnapshot();
  for (int index : {-1, 2, 50}) {
    EXPECT_EQ(list_.Select(index).status, Status::kNoProfile) << index;
    EXPECT_EQ(list_.SelectedIndex(), 0);
  }
  EXPECT_EQ(FolderSnapshot(), before);
}

TEST_F(ProfileListTest, AddMakesTheFirstFreeNameWithFactorySettingsAndSelectsIt) {
  LoadWithNames({"profile1", "profile3"});
  const ProfileList::Outcome added = list_.Add();
  ASSERT_TRUE(added.ok());
  EXPECT_EQ(added.index, 2);
  EXPECT_EQ(list_.SelectedIndex(), 2);
  EXPECT_EQ(NamesOnDisk(), (Names{"profile1", "profile3", "profile2"}));
  EXPECT_EQ(ListOnDisk()["profileselect"], 2);
  const Json::Value document = Document(2);
  EXPECT_EQ(document["profilename"], "profile2");
  EXPECT_EQ(document["profileUUID"], list_.CurrentId());
  EXPECT_EQ(document["Device"][0], FactoryEntry());
}

TEST_F(ProfileListTest, CopyTakesAllSettingsOfItsSource) {
  LoadWithNames({"A"});
  Json::Value source = Document(0);
  source["Device"][0]["LightInfo"]["Red"] = 17;
  source["Device"][0]["KeyList"][0]["Assignment"] = 7340547;
  source["Extra"] = "kept";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(list_.DocumentPath(0), source));

  ASSERT_TRUE(list_.Copy(0).ok());
  ASSERT_TRUE(list_.Copy(0).ok());
  EXPECT_EQ(NamesOnDisk(), (Names{"A", "A copy", "A copy copy"}));
  EXPECT_EQ(list_.SelectedIndex(), 2);
  for (int index : {1, 2}) {
    const Json::Value copy = Document(index);
    EXPECT_EQ(copy["Device"], source["Device"]);
    EXPECT_EQ(copy["Extra"], "kept");
    EXPECT_EQ(copy["profilename"], list_.Profiles()[index].name);
    EXPECT_EQ(copy["profileUUID"], list_.Profiles()[index].id);
  }
  EXPECT_EQ(Document(0), source);
}

TEST_F(ProfileListTest, CopyOfAProfileWhoseDocumentIsMissingHasTheFactorySettings) {
  LoadWithNames({"A"});
  std::filesystem::remove(list_.DocumentPath(0));
  ASSERT_TRUE(list_.Copy(0).ok());
  EXPECT_EQ(Document(1)["Device"][0], FactoryEntry());
}

TEST_F(ProfileListTest, RenameFollowsTheNameRules) {
  struct Case {
    const char* name;
    RenameResult result;
    const char* name_after;
  };
  const Case cases[] = {
      {"", RenameResult::kNameBlank, "profile1"},
      {"  \t", RenameResult::kNameBlank, "profile1"},
      {"office", RenameResult::kNameTaken, "profile1"},
      {"OFFICE", RenameResult::kNameTaken, "profile1"},
      {"PROFILE1", RenameResult::kRenamed, "PROFILE1"},
      {"Gaming", RenameResult::kRenamed, "Gaming"},
      {"配置 2", RenameResult::kRenamed, "配置 2"},
      {" office \n", RenameResult::kNameTaken, "配置 2"},
      {"\x01\r\n", RenameResult::kNameBlank, "配置 2"},
      {" two\nlines ", RenameResult::kRenamed, "two lines"},
      // Only a name: it never becomes a file name.
      {"../../outside", RenameResult::kRenamed, "../../outside"},
      {"a\\b:c*?<>|", RenameResult::kRenamed, "a\\b:c*?<>|"},
  };
  LoadWithNames({"profile1", "Office"});
  const std::string id = list_.Profiles()[0].id;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(list_.Rename(0, c.name), c.result);
    EXPECT_EQ(NamesOnDisk(), (Names{c.name_after, "Office"}));
    EXPECT_EQ(Document(0)["profilename"], c.name_after);
  }
  // The id, and so the document's file name, stays.
  EXPECT_EQ(list_.Profiles()[0].id, id);
  EXPECT_EQ(list_.DocumentPath(0), folder_ + id + ".Json");
  EXPECT_EQ(Document(0)["Device"][0], FactoryEntry());
  EXPECT_EQ(list_.Rename(2, "x"), RenameResult::kNoProfile);
  EXPECT_EQ(FolderSnapshot().size(), 3u);  // the list and the two documents, nothing else
  EXPECT_FALSE(std::filesystem::exists(temp_.path().parent_path() / "outside"));
}

TEST_F(ProfileListTest, RenameNeverEmptiesADocumentItCannotRead) {
  LoadWithNames({"A"});
  const std::string path = list_.DocumentPath(0);
  // Settings that cannot be read now stay as they are; the list carries the new name.
  WriteText(path, "{ \"Device\": [ { \"KeyList\": [");
  ASSERT_EQ(list_.Rename(0, "B"), RenameResult::kRenamed);
  EXPECT_EQ(ReadText(path), "{ \"Device\": [ { \"KeyList\": [");
  EXPECT_EQ(NamesOnDisk(), Names{"B"});

  // A missing document is made as loading would make it, under the new name.
  std::filesystem::remove(path);
  ASSERT_EQ(list_.Rename(0, "C"), RenameResult::kRenamed);
  EXPECT_EQ(Document(0)["profilename"], "C");
  EXPECT_EQ(Document(0)["profileUUID"], list_.CurrentId());
  EXPECT_EQ(Document(0)["Device"][0], FactoryEntry());
}

TEST_F(ProfileListTest, DeleteRemovesTheProfileAndItsDocument) {
  struct Case {
    int deleted;
    int selected_before;
    Names names_after;
    int selected_after;
  };
  const Case cases[] = {
      {0, 0, {"B", "C"}, 0},  // the first, current: the new first is current
      {1, 1, {"A", "C"}, 0}, {2, 2, {"A", "B"}, 1},
      {0, 2, {"B", "C"}, 1},  // not the current one: the current one stays current
      {2, 0, {"A", "B"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "delete " << c.deleted << " of 3, " << c.selected_before << " current");
    std::filesystem::remove_all(folder_);
    list_ = ProfileList();
    list_.SetFolders(folder_, testing::ShippedFactoryPath("mouse"));
    LoadWithNames({"A", "B", "C"});
    ASSERT_TRUE(list_.Select(c.selected_before).ok());
    const std::string current_name = list_.Profiles()[c.selected_before].name;
    const std::string removed_path = list_.DocumentPath(c.deleted);

    const ProfileList::Outcome outcome = list_.Delete(c.deleted);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.index, c.selected_after);
    EXPECT_EQ(list_.SelectedIndex(), c.selected_after);
    EXPECT_EQ(NamesOnDisk(), c.names_after);
    EXPECT_EQ(ListOnDisk()["profileselect"], c.selected_after);
    EXPECT_FALSE(std::filesystem::exists(removed_path));
    for (int i = 0; i < list_.Count(); ++i) EXPECT_EQ(Document(i)["profilename"], c.names_after[i]);
    if (c.deleted != c.selected_before) {
      EXPECT_EQ(list_.Profiles()[list_.SelectedIndex()].name, current_name);
    }
  }
}

TEST_F(ProfileListTest, TheLastProfileCannotBeDeleted) {
  LoadWithNames({"A"});
  const auto before = FolderSnapshot();
  EXPECT_EQ(list_.Delete(0).status, Status::kLastProfile);
  EXPECT_EQ(list_.Delete(1).status, Status::kNoProfile);
  EXPECT_EQ(FolderSnapshot(), before);
}

TEST_F(ProfileListTest, NoMoreThanFiftyProfiles) {
  ASSERT_TRUE(list_.Load());
  for (int i = 1; i < ProfileList::kMaxProfiles; ++i) ASSERT_TRUE(list_.Add().ok()) << i;
  ASSERT_EQ(list_.Count(), 50);
  ASSERT_TRUE(list_.Export(0, temp_.File("saved.json")));
  ASSERT_TRUE(list_.Select(3).ok());
  const auto before = FolderSnapshot();
  EXPECT_EQ(before.size(), 51u);  // the list and fifty documents

  EXPECT_EQ(list_.Add().status, Status::kLimitReached);
  EXPECT_EQ(list_.Copy(0).status, Status::kLimitReached);
  EXPECT_EQ(list_.Import(temp_.File("saved.json")).status, Status::kLimitReached);
  EXPECT_EQ(FolderSnapshot(), before);
  EXPECT_EQ(list_.SelectedIndex(), 3);

  // Deleting one makes room again.
  ASSERT_TRUE(list_.Delete(0).ok());
  EXPECT_TRUE(list_.Import(temp_.File("saved.json")).ok());
  EXPECT_EQ(list_.Count(), 50);
}

TEST_F(ProfileListTest, IdsStayUniqueWhenTheClockRepeats) {
  list_.SetIdSource([] { return std::string("2024_03_09_14_05_07_042"); });
  // A document of that name already lies in the folder, belonging to no listed profile.
  WriteText(folder_ + "2024_03_09_14_05_07_042.Json", "{\"mine\": 1}\n");
  ASSERT_TRUE(list_.Load());
  ASSERT_TRUE(list_.Add().ok());
  ASSERT_TRUE(list_.Copy(0).ok());

  std::set<std::string> ids;
  for (const ProfileEntry& entry : list_.Profiles()) ids.insert(entry.id);
  EXPECT_EQ(ids, (std::set<std::string>{"2024_03_09_14_05_07_042_1", "2024_03_09_14_05_07_042_2",
                                        "2024_03_09_14_05_07_042_3"}));
  EXPECT_EQ(ReadText(folder_ + "2024_03_09_14_05_07_042.Json"), "{\"mine\": 1}\n");
  for (int i = 0; i < list_.Count(); ++i) {
    EXPECT_EQ(Document(i)["profileUUID"], list_.Profiles()[i].id);
    EXPECT_EQ(Document(i)["profilename"], list_.Profiles()[i].name);
  }
}

TEST_F(ProfileListTest, EveryChangeStartsFromTheListOnDisk) {
  LoadWithNames({"A", "B"});
  // Another writer renamed a profile in the meantime.
  Json::Value outside = ListOnDisk();
  outside["profilelist"][1]["profilename"] = "profile2";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(ListPath(), outside));
  ASSERT_TRUE(list_.Add().ok());
  EXPECT_EQ(NamesOnDisk(), (Names{"A", "profile2", "profile1"}));

  // A list that has become unreadable is replaced by the last one read, not by an empty one.
  WriteText(ListPath(), "garbage");
  ASSERT_TRUE(list_.Add().ok());
  EXPECT_EQ(NamesOnDisk(), (Names{"A", "profile2", "profile1", "profile3"}));
}

TEST_F(ProfileListTest, AListThatCannotBeWrittenLeavesNoHalfAddedProfile) {
  LoadWithNames({"A"});
  // A folder in the list's place: the list can neither be read nor replaced.
  std::filesystem::remove(ListPath());
  std::filesystem::create_directory(ListPath());
  const auto before = FolderSnapshot();

  EXPECT_EQ(list_.Add().status, Status::kWriteFailed);
  EXPECT_EQ(list_.Copy(0).status, Status::kWriteFailed);
  EXPECT_EQ(list_.Rename(0, "B"), RenameResult::kWriteFailed);
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_EQ(list_.Profiles()[0].name, "A");
  EXPECT_EQ(FolderSnapshot(), before);
}

TEST_F(ProfileListTest, ADeleteThatCannotBeWrittenKeepsTheDocument) {
  LoadWithNames({"A", "B"});
  const std::string path = list_.DocumentPath(1);
  std::filesystem::remove(ListPath());
  std::filesystem::create_directory(ListPath());
  EXPECT_EQ(list_.Delete(1).status, Status::kWriteFailed);
  EXPECT_EQ(list_.Count(), 2);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(ProfileListTest, WithoutAFolderNothingIsWritten) {
  ProfileList list;
  EXPECT_FALSE(list.Load());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(list.Add().status, Status::kWriteFailed);
  EXPECT_FALSE(std::filesystem::exists("ProfileList.ini"));
}

TEST_F(ProfileListTest, ResetGivesTheFactorySettingsAndKeepsTheHeadsetsOwnPresets) {
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "headset" : "other kinds");
    std::filesystem::remove_all(folder_);
    ProfileList list;
    list.SetFolders(folder_, testing::ShippedFactoryPath("HD"));
    list.SetResetKeepsCustomEqualiser(keep);
    ASSERT_TRUE(list.Load());
    ASSERT_EQ(list.Rename(0, "Mine"), RenameResult::kRenamed);
    const std::string path = list.DocumentPath(0);
    Json::Value changed = JsonFileIo::ReadJsonFile(path);
    Json::Value& entry = changed["Device"][0];
    entry["LightInfo"]["Red"] = 99;
    entry["CustomEQNameInfo"][0]["Name"] = "Bass";
    entry["CustomEQHzValueInfo"][0][0]["value"] = 6;
    ASSERT_TRUE(JsonFileIo::WriteJsonFile(path, changed));

    ASSERT_TRUE(list.ResetProfile(0));
    const Json::Value factory =
        JsonFileIo::ReadJsonFile(testing::ShippedFactoryPath("HD"))["Device"][0];
    Json::Value expected = factory;
    if (keep) {
      expected["CustomEQNameInfo"] = entry["CustomEQNameInfo"];
      expected["CustomEQHzValueInfo"] = entry["CustomEQHzValueInfo"];
    }
    const Json::Value reset = JsonFileIo::ReadJsonFile(path);
    EXPECT_EQ(reset["Device"][0], expected);
    EXPECT_EQ(reset["profilename"], "Mine");
    EXPECT_EQ(reset["profileUUID"], list.CurrentId());
  }
}

}  // namespace
}  // namespace vorlin
