// The macro documents: the naming rules, the macro limit, the list and macro files through
// new, rename, delete, import and export, damaged files, and the renumbering of the keys that
// play macros in the profile documents when a macro is deleted.
#include "profiles/macro_documents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "profiles/json_file_io.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

TEST(MacroNaming, NewNamesTakeTheFirstFreeNumberWithoutRegardToCase) {
  struct Case {
    std::vector<std::string> names;
    std::string expected;
  };
  const Case cases[] = {
      {{}, "macro_1"},          {{"macro_1", "macro_2"}, "macro_3"},
      {{"MACRO_2"}, "macro_1"}, {{"Macro_1", "macro_3"}, "macro_2"},
      {{"other"}, "macro_1"},
  };
  for (const Case& c : cases) EXPECT_EQ(NewMacroName(c.names), c.expected);
}

TEST(MacroNaming, ImportedNamesAppendGrowingCounters) {
  struct Case {
    std::vector<std::string> names;
    std::string title;
    std::string expected;
  };
  const Case cases[] = {
      {{}, "combo", "combo"},
      {{"combo"}, "combo", "combo_1"},
      {{"combo", "combo_1"}, "combo", "combo_1_2"},
      {{"COMBO", "Combo_1", "combo_1_2"}, "combo", "combo_1_2_3"},
      {{"combo_1"}, "combo", "combo"},
      {{"macro_1"}, "   ", "macro_2"},
      {{}, " padded ", "padded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(ImportedMacroName(c.names, c.title), c.expected);
  }
}

KeyAssignmentPair Key(uint32_t current, uint32_t factory) {
  KeyAssignmentPair key;
  key.current.SetPackedCode(current);
  key.factory.SetPackedCode(factory);
  return key;
}

TEST(MacroCalls, RemovalRenumbersLaterCallsAndResetsCallsOfTheRemovedMacro) {
  struct Case {
    uint32_t current;
    uint32_t expected;  // after macro 1 (the second) is removed
  };
  const uint32_t factory = 0x100100;  // left button
  const Case cases[] = {
      {0x700002, 0x700002},  // macro 0 stays
      {0x700103, factory},   // macro 1 is gone: the factory function again
      {0x710105, factory},   // the same for a counted call
      {0x700202, 0x700102},  // macro 2 becomes macro 1, the repeat mode stays
      {0x710309, 0x710209},  // macro 3 becomes macro 2, the count stays
      {0x200004, 0x200004},  // a key: untouched, even with second byte values above 1
      {0x200204, 0x200204}, {0x720200, 0x720200},  // a recoil pattern key is no macro call
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.current);
    std::vector<KeyAssignmentPair> keys = {Key(c.current, factory)};
    EXPECT_EQ(RenumberMacroCalls(keys, 1), c.current != c.expected);
    EXPECT_EQ(keys[0].current.PackedCode(), c.expected);
    EXPECT_EQ(keys[0].factory.PackedCode(), factory);
  }
}

TEST(MacroCalls, KeysUseMacroLooksAtTheCurrentFunctionOnly) {
  const std::vector<KeyAssignmentPair> keys = {Key(0x700200, 0x100100), Key(0x100100, 0x710300),
                                               Key(0x200300, 0x200300)};
  EXPECT_TRUE(KeysUseMacro(keys, 2));
  EXPECT_FALSE(KeysUseMacro(keys, 3));
  EXPECT_FALSE(KeysUseMacro(keys, 0));
}

TEST(MacroCalls, DocumentsAreRenumberedInEveryDeviceEntry) {
  Json::Value document = JsonFileIo::ParseJsonText(R"({
    "profilename": "p", "profileUUID": "p",
    "Device": [
      {"KeyList": [{"Assignment": 7340544, "DefaultAssignment": 1048832},
                   {"Assignment": 7340800, "DefaultAssignment": 1048832},
                   {"Assignment": 2097156, "DefaultAssignment": 2097156}],
       "LightInfo": {"SelectItem": 1}},
      {"KeyList": [{"Assignment": 7406080}]},
      "not an entry",
      {"KeyList": "not a list"}
    ]})");
  // 0x700200 (macro 2), 0x700300 (macro 3), a key; then 0x710200 (macro 2, no default).
  ASSERT_TRUE(RenumberMacroCallsInDocument(document, 2));
  EXPECT_EQ(document["Device"][0]["KeyList"][0]["Assignment"].asInt(), 0x100100);
  EXPECT_EQ(document["Device"][0]["KeyList"][1]["Assignment"].asInt(), 0x700200);
  EXPECT_EQ(document["Device"][0]["KeyList"][2]["Assignment"].asInt(), 0x200004);
  EXPECT_EQ(document["Device"][0]["KeyList"][0]["DefaultAssignment"].asInt(), 0x100100);
  EXPECT_EQ(document["Device"][1]["KeyList"][0]["Assignment"].asInt(), 0);
  EXPECT_EQ(document["Device"][0]["LightInfo"]["SelectItem"].asInt(), 1);
  EXPECT_EQ(document["Device"][2], Json::Value("not an entry"));
  EXPECT_FALSE(RenumberMacroCallsInDocument(document, 5));
}

class MacroLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty());
    library_.SetIdSource([this] { return "id" + std::to_string(++next_id_); });
    library_.SetFolder(folder_.path().string());
  }
  Json::Value ReadJson(const std::string& name) const {
    return JsonFileIo::ReadJsonFile(folder_.File(name));
  }
  std::vector<MacroEntry> OnDisk() const { return ParseMacroList(ReadJson(kMacroListFileName)); }

  TempFolder folder_;
  MacroLibrary library_;
  int next_id_ = 0;
};

TEST_F(MacroLibraryTest, NewMacrosAreListedButGetTheirFileOnFirstSave) {
  int number = -1;
  ASSERT_EQ(library_.Add("macro_1", &number), MacroLibrary::Status::kOk);
  EXPECT_EQ(number, 0);
  ASSERT_EQ(library_.Add("macro_2", &number), MacroLibrary::Status::kOk);
  EXPECT_EQ(number, 1);
  EXPECT_EQ(OnDisk(), (std::vector<MacroEntry>{{"macro_1", "id1"}, {"macro_2", "id2"}}));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("id1.mac")));
  EXPECT_TRUE(library_.ReadEvents(0).empty());

  const std::vector<MacroEvent> events = {{true, 4, 10, 120}, {false, 4, 10, 0}};
  ASSERT_EQ(library_.SaveEvents(0, events), MacroLibrary::Status::kOk);
  const Json::Value file = ReadJson("id1.mac");
  EXPECT_EQ(file["MacroName"], Json::Value("macro_1"));
  EXPECT_EQ(file["Guid"], Json::Value("id1"));
  EXPECT_EQ(file["Version"].asInt(), 64);
  EXPECT_EQ(file["Events"][0]["Delay"], Json::Value("120"));
  EXPECT_EQ(library_.ReadEvents(0), events);

  MacroLibrary again;
  again.SetFolder(folder_.path().string());
  EXPECT_EQ(again.Names(), (std::vector<std::string>{"macro_1", "macro_2"}));
  EXPECT_EQ(again.ReadEvents(0), events);
}

TEST_F(MacroLibraryTest, TheFiftyFirstMacroIsRefused) {
  for (int i = 0; i < kMaxMacros; ++i)
    ASSERT_EQ(library_.Add(NewMacroName(library_.Names())), MacroLibrary::Status::kOk);
  EXPECT_EQ(library_.Add("one more"), MacroLibrary::Status::kLimitReached);
  WriteText(folder_.File("x.mac"), R"({"Events": []})");
  EXPECT_EQ(library_.Import(folder_.File("x.mac")), MacroLibrary::Status::kLimitReached);
  EXPECT_EQ(OnDisk().size(), static_cast<size_t>(kMaxMacros));
}

TEST_F(MacroLibraryTest, RenameFollowsTheNamingRules) {
  ASSERT_EQ(library_.Add("alpha"), MacroLibrary::Status::kOk);
  ASSERT_EQ(library_.Add("beta"), MacroLibrary::Status::kOk);
  struct Case {
    const char* name;
    MacroLibrary::Status status;
    const char* kept;  // macro 1's name afterwards
  };
  const Case cases[] = {
      {"", MacroLibrary::Status::kUnchanged, "beta"},
      {"   ", MacroLibrary::Status::kNameBlank, "beta"},
      {"ALPHA", MacroLibrary::Status::kNameTaken, "beta"},
      {"Beta", MacroLibrary::Status::kOk, "Beta"},
      {"  gamma ", MacroLibrary::Status::kOk, "gamma"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(library_.Rename(1, c.name), c.status);
    EXPECT_EQ(OnDisk()[1].name, c.kept);
    EXPECT_EQ(OnDisk()[1].guid, "id2");
  }
  EXPECT_EQ(library_.Rename(2, "x"), MacroLibrary::Status::kNoMacro);
}

TEST_F(MacroLibraryTest, RemoveDropsTheEntryAndItsFileAndKeepsOthersInOrder) {
  for (const char* name : {"a", "b", "c"}) ASSERT_EQ(library_.Add(name), MacroLibrary::Status::kOk);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(library_.SaveEvents(i, {}), MacroLibrary::Status::kOk);
  ASSERT_EQ(library_.Remove(1), MacroLibrary::Status::kOk);
  EXPECT_EQ(OnDisk(), (std::vector<MacroEntry>{{"a", "id1"}, {"c", "id3"}}));
  EXPECT_FALSE(std::filesystem::exists(folder_.File("id2.mac")));
  EXPECT_TRUE(std::filesystem::exists(folder_.File("id3.mac")));
  EXPECT_EQ(library_.Remove(5), MacroLibrary::Status::kNoMacro);
}

TEST_F(MacroLibraryTest, ListElementsKeepTheirOtherKeysAndDamagedOnesKeepTheirPlace) {
  WriteText(folder_.File(kMacroListFileName), R"({"MacroInfo": [
      {"MacroName": "a", "Guid": "ga", "Colour": 5}, 17,
      {"MacroName": "c", "Guid": "../../escape"}], "Other": true})");
  library_.Load();
  ASSERT_EQ(library_.Count(), 3);
  EXPECT_EQ(library_.MacroPath(1), "");  // no id
  EXPECT_EQ(library_.MacroPath(2), "");  // an id that would leave the folder
  EXPECT_EQ(library_.SaveEvents(2, {}), MacroLibrary::Status::kRefused);
  ASSERT_EQ(library_.Rename(0, "A2"), MacroLibrary::Status::kOk);
  const Json::Value list = ReadJson(kMacroListFileName);
  EXPECT_EQ(list["MacroInfo"][0]["Colour"].asInt(), 5);
  EXPECT_EQ(list["MacroInfo"].size(), 3u);
  EXPECT_TRUE(list["Other"].asBool());
  EXPECT_EQ(library_.Remove(2), MacroLibrary::Status::kOk);
}

TEST_F(MacroLibraryTest, RemovingAnEntryWhoseIdLeavesTheFolderDeletesNothingOutsideIt) {
  const std::string inner = folder_.File("inner");
  std::filesystem::create_directories(inner);
  WriteText(inner + "/" + kMacroListFileName,
            R"({"MacroInfo": [{"MacroName": "c", "Guid": "../outside"}]})");
  WriteText(folder_.File("outside.mac"), R"({"Events": []})");
  MacroLibrary library;
  library.SetFolder(inner);
  ASSERT_EQ(library.Count(), 1);
  EXPECT_EQ(library.Remove(0), MacroLibrary::Status::kOk);
  EXPECT_TRUE(std::filesystem::exists(folder_.File("outside.mac")));
  EXPECT_EQ(library.Count(), 0);
}

TEST_F(MacroLibraryTest, AnUnreadableListIsEmptyAndKeptAsideBeforeItIsReplaced) {
  const std::string garbage = "{\"MacroInfo\": [ this is not json";
  WriteText(folder_.File(kMacroListFileName), garbage);
  library_.Load();
  EXPECT_EQ(library_.Count(), 0);
  // Nothing is written just by reading.
  EXPECT_EQ(ReadText(folder_.File(kMacroListFileName)), garbage);
  ASSERT_EQ(library_.Add("fresh"), MacroLibrary::Status::kOk);
  EXPECT_EQ(OnDisk(), (std::vector<MacroEntry>{{"fresh", "id1"}}));
  bool kept = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("macro.config.unreadable-", 0) == 0) {
      kept = true;
      EXPECT_EQ(ReadText(entry.path()), garbage);
    }
  }
  EXPECT_TRUE(kept);
}

TEST_F(MacroLibraryTest, WrongShapesReadAsEmpty) {
  const char* documents[] = {R"([1,2])", R"({"MacroInfo": {"a": 1}})", R"("text")"};
  for (const char* text : documents) {
    SCOPED_TRACE(text);
    WriteText(folder_.File(kMacroListFileName), text);
    library_.Load();
    EXPECT_EQ(library_.Count(), 0);
  }
  // A list without "MacroInfo" is an empty list, nothing to keep.
  WriteText(folder_.File(kMacroListFileName), R"({})");
  library_.Load();
  EXPECT_EQ(library_.Count(), 0);
}

TEST_F(MacroLibraryTest, UnreadableMacroFilesGiveNoEvents) {
  ASSERT_EQ(library_.Add("m"), MacroLibrary::Status::kOk);
  const char* files[] = {"", "not json", R"({"Events": "x"})", R"([])",
                         R"({"Events": [{"Action": "down"}]})"};
  for (const char* text : files) {
    SCOPED_TRACE(text);
    WriteText(folder_.File("id1.mac"), text);
    EXPECT_TRUE(library_.ReadEvents(0).empty());
  }
}

TEST_F(MacroLibraryTest, ImportCopiesTheFileUnchangedUnderANewIdAndName) {
  const std::string source = folder_.File("combo.mac");
  const std::string text =
      R"({"MacroName": "inside", "Guid": "theirs", "Events": [{"Action": "down", "Button": 4, "Type": 10, "Delay": "5"}], "Version": 64, "Extra": 1})";
  WriteText(source, text);
  for (const char* expected : {"combo", "combo_1", "combo_1_2"}) {
    int number = -1;
    ASSERT_EQ(library_.Import(source, &number), MacroLibrary::Status::kOk);
    EXPECT_EQ(library_.Macros()[static_cast<size_t>(number)].name, expected);
    EXPECT_EQ(ReadText(library_.MacroPath(number)), text);
    EXPECT_EQ(library_.ReadEvents(number).size(), 1u);
  }
  EXPECT_EQ(OnDisk().size(), 3u);
}

TEST_F(MacroLibraryTest, ImportRefusesFilesThatAreNoMacros) {
  const char* files[] = {"", "garbage", R"([1])", R"({"Events": 5})"};
  for (const char* text : files) {
    SCOPED_TRACE(text);
    WriteText(folder_.File("bad.mac"), text);
    EXPECT_EQ(library_.Import(folder_.File("bad.mac")), MacroLibrary::Status::kRefused);
  }
  EXPECT_EQ(library_.Import(folder_.File("missing.mac")), MacroLibrary::Status::kRefused);
  EXPECT_EQ(library_.Count(), 0);
  EXPECT_TRUE(OnDisk().empty());
}

TEST_F(MacroLibraryTest, ExportCopiesTheFileAndNeverOverwritesOurOwn) {
  ASSERT_EQ(library_.Add("a"), MacroLibrary::Status::kOk);
  ASSERT_EQ(library_.Add("b"), MacroLibrary::Status::kOk);
  const std::vector<MacroEvent> events = {{true, 1, 1, 10}};
  // Not saved yet: the export is written from the events given.
  const std::string out = folder_.File("out.mac");
  ASSERT_EQ(library_.Export(0, out, events), MacroLibrary::Status::kOk);
  EXPECT_EQ(ParseMacroFile(JsonFileIo::ReadJsonFile(out))->events, events);
  ASSERT_EQ(library_.SaveEvents(1, events), MacroLibrary::Status::kOk);
  const std::string b_file = ReadText(library_.MacroPath(1));
  ASSERT_EQ(library_.Export(1, out, {}), MacroLibrary::Status::kOk);
  EXPECT_EQ(ReadText(out), b_file);
  EXPECT_EQ(library_.Export(0, library_.MacroPath(1), {}), MacroLibrary::Status::kRefused);
  EXPECT_EQ(library_.Export(0, library_.ListPath(), {}), MacroLibrary::Status::kRefused);
  EXPECT_EQ(library_.Export(0, folder_.File("./id2.mac"), {}), MacroLibrary::Status::kRefused);
  EXPECT_EQ(ReadText(library_.MacroPath(1)), b_file);
}

TEST_F(MacroLibraryTest, ProfileDocumentsAreRenumberedThroughTheProfileList) {
  WriteText(folder_.File("ProfileList.ini"), R"({"profilelist": [
      {"profilename": "one", "profileUUID": "p1"},
      {"profilename": "two", "profileUUID": "p2"},
      {"profilename": "bad", "profileUUID": "../p3"}], "profileselect": 0})");
  const std::string p1 =
      R"({"Device": [{"KeyList": [{"Assignment": 7340544, "DefaultAssignment": 1048832}, {"Assignment": 7340800, "DefaultAssignment": 1048832}]}]})";
  const std::string p2 =
      R"({"Device": [{"KeyList": [{"Assignment": 7340288, "DefaultAssignment": 1048832}]}]})";
  WriteText(folder_.File("p1.Json"), p1);
  WriteText(folder_.File("p2.Json"), p2);
  const std::vector<std::string> paths = ProfileDocumentsOfFolder(folder_.path().string());
  ASSERT_EQ(paths, (std::vector<std::string>{folder_.File("p1.Json"), folder_.File("p2.Json")}));

  EXPECT_TRUE(RenumberMacroCallsInFiles(paths, 2).empty());
  const Json::Value one = ReadJson("p1.Json");
  EXPECT_EQ(one["Device"][0]["KeyList"][0]["Assignment"].asInt(), 0x100100);  // played 2
  EXPECT_EQ(one["Device"][0]["KeyList"][1]["Assignment"].asInt(), 0x700200);  // played 3
  // A document without a change is not rewritten.
  EXPECT_EQ(ReadText(folder_.File("p2.Json")), p2);

  // Unreadable and missing documents are left alone.
  WriteText(folder_.File("p2.Json"), "garbage");
  std::filesystem::remove(folder_.File("p1.Json"));
  EXPECT_TRUE(RenumberMacroCallsInFiles(paths, 0).empty());
  EXPECT_EQ(ReadText(folder_.File("p2.Json")), "garbage");
  EXPECT_FALSE(std::filesystem::exists(folder_.File("p1.Json")));
}

}  // namespace
}  // namespace vorlin
