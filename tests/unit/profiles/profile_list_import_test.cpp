// Importing and exporting profile documents.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profiles/json_file_io.h"
#include "profiles/profile_list.h"
#include "profiles/profile_list_document.h"
#include "unit/profiles/profile_list_test_fixture.h"

namespace vorlin {
namespace {

using Names = std::vector<std::string>;
using testing::ProfileListTest;
using testing::ShippedFactoryPath;
using testing::WriteText;
using Status = ProfileList::Status;

// A profile document of `data_name`'s kind as another installation would have exported it.
Json::Value ExportedDocument(const std::string& data_name) {
  Json::Value document = JsonFileIo::ReadJsonFile(ShippedFactoryPath(data_name));
  document["profilename"] = "theirs";
  document["profileUUID"] = "2023_01_01_00_00_00_000";
  return document;
}

std::string Styled(const Json::Value& value) {
  return JsonFileIo::StyledText(value);
}

TEST_F(ProfileListTest, ImportNamesTheProfileAfterTheFileAndKeepsEverythingElse) {
  LoadWithNames({"work"});
  Json::Value theirs = ExportedDocument("mouse");
  theirs["Device"][0]["LightInfo"]["Green"] = 201;
  theirs["Device"][1] = "second device";
  theirs["Note"] = "from a friend";
  WriteText(temp_.File("work.json"), Styled(theirs));

  ASSERT_TRUE(list_.Import(temp_.File("work.json")).ok());
  ASSERT_TRUE(list_.Import(temp_.File("work.json")).ok());
  EXPECT_EQ(NamesOnDisk(), (Names{"work", "work(1)", "work(1)(2)"}));
  EXPECT_EQ(list_.SelectedIndex(), 2);
  for (int index : {1, 2}) {
    Json::Value expected = theirs;
    expected["profilename"] = list_.Profiles()[index].name;
    expected["profileUUID"] = list_.Profiles()[index].id;
    EXPECT_EQ(Document(index), expected);
    EXPECT_NE(list_.Profiles()[index].id, "2023_01_01_00_00_00_000");
  }
}

TEST_F(ProfileListTest, ImportRefusesWhatIsNotAProfileOfThisKindAndChangesNothing) {
  const auto with = [](Json::Value document, const char* key, Json::Value value) {
    document["Device"][0][key] = std::move(value);
    return Styled(document);
  };
  const auto without = [](Json::Value document, const char* key) {
    document.removeMember(key);
    return Styled(document);
  };
  Json::Value no_device_entry = ExportedDocument("mouse");
  no_device_entry["Device"][0] = "text";
  Json::Value no_dpi = ExportedDocument("mouse");
  no_dpi["Device"][0].removeMember("DPIStages");

  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"not JSON", "{\"profilename\": "},
      {"a JSON array", "[1, 2, 3]"},
      {"a JSON string", "\"profile\""},
      {"without profilename", without(ExportedDocument("mouse"), "profilename")},
      {"without profileUUID", without(ExportedDocument("mouse"), "profileUUID")},
      {"name not a string", Styled([] {
         Json::Value d = ExportedDocument("mouse");
         d["profilename"] = 5;
         return d;
       }())},
      {"without Device", without(ExportedDocument("mouse"), "Device")},
      {"Device entry not an object", Styled(no_device_entry)},
      {"a keyboard profile", Styled(ExportedDocument("keyboard"))},
      {"a headset profile", Styled(ExportedDocument("HD"))},
      {"a mouse pad profile", Styled(ExportedDocument("MousePad"))},
      {"a mouse profile without its DPI stages", Styled(no_dpi)},
      {"DPI stages of the wrong shape", with(ExportedDocument("mouse"), "DPIStages", 3)},
      {"key list of the wrong shape",
       with(ExportedDocument("mouse"), "KeyList", Json::Value(Json::objectValue))},
      {"a mouse profile with a headset's equaliser",
       with(ExportedDocument("mouse"), "EQHzValueInfo", Json::Value(Json::arrayValue))},
      {"the profile list itself", R"({"profilelist": [{"profilename": "a", "profileUUID": "a"}],
                                      "profileselect": 0})"},
  };
  LoadWithNames({"A", "B"});
  ASSERT_TRUE(list_.Select(1).ok());
  const auto before = FolderSnapshot();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(temp_.File("bad.json"), c.text);
    EXPECT_EQ(list_.Import(temp_.File("bad.json")).status, Status::kRefused);
    EXPECT_EQ(FolderSnapshot(), before);
    EXPECT_EQ(list_.SelectedIndex(), 1);
    EXPECT_EQ(list_.Count(), 2);
  }
  // Paths that are no file at all.
  std::filesystem::create_directory(temp_.File("folder.json"));
  ASSERT_EQ(::mkfifo(temp_.File("pipe.json").c_str(), 0600), 0);
  for (const char* name : {"missing.json", "folder.json", "pipe.json"}) {
    EXPECT_EQ(list_.Import(temp_.File(name)).status, Status::kRefused) << name;
  }
  EXPECT_EQ(FolderSnapshot(), before);
}

TEST_F(ProfileListTest, EveryKindTakesItsOwnProfiles) {
  for (const char* kind : {"mouse", "keyboard", "MousePad", "HD"}) {
    EXPECT_TRUE(IsImportableProfileDocument(ExportedDocument(kind),
                                            JsonFileIo::ReadJsonFile(ShippedFactoryPath(kind))))
        << kind;
  }
  // Without a factory document only the profile's own form is checked.
  EXPECT_TRUE(IsImportableProfileDocument(ExportedDocument("HD"), Json::Value()));
  Json::Value no_keys = ExportedDocument("HD");
  no_keys["Device"][0].removeMember("KeyList");
  EXPECT_FALSE(IsImportableProfileDocument(no_keys, Json::Value()));
}

TEST_F(ProfileListTest, AnExportedProfileImportsAsAnIndependentCopy) {
  LoadWithNames({"A"});
  Json::Value mine = Document(0);
  mine["Device"][0]["LightInfo"]["Blue"] = 77;
  mine["Device"][0]["DPIStages"]["StageActive"] = 3;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(list_.DocumentPath(0), mine));

  const std::string exported = temp_.File("out/my settings.json");
  std::filesystem::create_directories(temp_.File("out"));
  ASSERT_TRUE(list_.Export(0, exported));
  // Written as it is, in the documents' styled form, with no extension added.
  EXPECT_EQ(testing::ReadText(exported), Styled(mine));

  ASSERT_TRUE(list_.Import(exported).ok());
  EXPECT_EQ(NamesOnDisk(), (Names{"A", "my settings"}));
  EXPECT_NE(list_.Profiles()[1].id, list_.Profiles()[0].id);
  EXPECT_EQ(Document(1)["Device"], mine["Device"]);

  // Changing the copy leaves the original alone.
  Json::Value copy = Document(1);
  copy["Device"][0]["LightInfo"]["Blue"] = 1;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(list_.DocumentPath(1), copy));
  EXPECT_EQ(Document(0), mine);
}

TEST_F(ProfileListTest, ExportWritesADocumentThatImportsAgain) {
  LoadWithNames({"A", "B"});
  // A profile whose document is gone is exported with the settings it would load with, and one
  // whose document lost its name is exported under the name the list gives it.
  std::filesystem::remove(list_.DocumentPath(0));
  Json::Value unnamed = Document(1);
  unnamed.removeMember("profilename");
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(list_.DocumentPath(1), unnamed));

  for (int index : {0, 1}) {
    const std::string path = temp_.File("export" + std::to_string(index) + ".json");
    ASSERT_TRUE(list_.Export(index, path));
    const Json::Value exported = JsonFileIo::ReadJsonFile(path);
    EXPECT_EQ(exported["profilename"], list_.Profiles()[index].name);
    EXPECT_EQ(exported["Device"][0], FactoryEntry());
    EXPECT_TRUE(IsImportableProfileDocument(exported,
                                            JsonFileIo::ReadJsonFile(ShippedFactoryPath("mouse"))));
  }
  EXPECT_FALSE(std::filesystem::exists(list_.DocumentPath(0)));
}

TEST_F(ProfileListTest, ExportNeverOverwritesTheProfilesOwnFiles) {
  LoadWithNames({"A", "B"});
  std::filesystem::create_directories(temp_.File("elsewhere"));
  std::filesystem::create_symlink(ListPath(), temp_.File("elsewhere/link.json"));
  std::filesystem::create_hard_link(list_.DocumentPath(1), temp_.File("elsewhere/hard.json"));
  const auto before = FolderSnapshot();
  for (const std::string& target :
       {ListPath(), list_.DocumentPath(0), list_.DocumentPath(1),
        folder_ + "../mouse/./ProfileList.ini", temp_.File("elsewhere/link.json"),
        temp_.File("elsewhere/hard.json")}) {
    EXPECT_FALSE(list_.Export(0, target)) << target;
  }
  EXPECT_EQ(FolderSnapshot(), before);
  // Any other file, also in the profiles' folder, is the user's choice.
  EXPECT_TRUE(list_.Export(0, folder_ + "backup.json"));
}

TEST_F(ProfileListTest, ExportFailuresAreReported) {
  LoadWithNames({"A"});
  EXPECT_FALSE(list_.Export(0, ""));
  EXPECT_FALSE(list_.Export(1, temp_.File("x.json")));
  EXPECT_FALSE(list_.Export(0, temp_.File("no/such/folder/x.json")));
  EXPECT_FALSE(std::filesystem::exists(temp_.File("x.json")));

  // Without a factory document a profile without settings has nothing to export.
  ProfileList bare;
  bare.SetFolders(temp_.File("bare"), temp_.File("missing.Json"));
  ASSERT_TRUE(bare.Load());
  EXPECT_FALSE(bare.Export(0, temp_.File("bare.json")));
  EXPECT_FALSE(std::filesystem::exists(temp_.File("bare.json")));
}

}  // namespace
}  // namespace vorlin
