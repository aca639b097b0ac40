// The colour window's store: reading damaged documents, seeding the user's file from the factory
// copy, saving without losing anything, and the collection's limits.
#include "lighting/colour_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QTemporaryDir>

#include "profiles/json_file_io.h"

namespace vorlin {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedFactory =
    fs::path(VORLIN_SOURCE_DIR) / "data" / "DefaultData" / "color_option_info.config";

Json::Value Parse(const std::string& text) {
  const Json::Value value = JsonFileIo::ParseJsonText(text);
  EXPECT_FALSE(value.isNull()) << text;
  return value;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A document with the given "coloroptioninfo" members (JSON text of an object's inside).
Json::Value Info(const std::string& members) {
  return Parse("{\"coloroptioninfo\": {" + members + "}}");
}

// A fallback that differs from everything the documents below hold.
ColourOptions Fallback() {
  ColourOptions options = BuiltInColourOptions();
  options.selected_preset = 7;
  options.collected = {{0xFF010203, "a"}, {0xFF040506, "b"}};
  options.selected_collected = 1;
  return options;
}

TEST(ColourTextTest, ParsesOnlyHashAndSixOrEightHexDigits) {
  struct Case {
    const char* text;
    std::optional<uint32_t> expected;
  };
  const Case cases[] = {
      {"#FF102030", 0xFF102030u},  {"#80aBcDeF", 0x80ABCDEFu}, {"#102030", 0xFF102030u},
      {"#00000000", 0x00000000u},  {"", std::nullopt},         {"#", std::nullopt},
      {"FF102030", std::nullopt},  {"#FF10203", std::nullopt}, {"#FF1020300", std::nullopt},
      {"#GG102030", std::nullopt}, {" #102030", std::nullopt}, {"#10 030", std::nullopt},
      {"#-1020304", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseArgbText(c.text), c.expected) << '"' << c.text << '"';
  }
  for (uint32_t argb : {0u, 0xFF0A0B0Cu, 0xFFFFFFFFu, 0x12345678u}) {
    EXPECT_EQ(ParseArgbText(ArgbText(argb)), argb);
  }
  EXPECT_EQ(ArgbText(0xFF0a0b0c), "#FF0A0B0C");
}

TEST(ColourOptionsDocumentTest, DocumentsWithoutTheirOptionsGiveTheFallbackWhole) {
  for (const char* text : {"null", "[]", "7", "\"text\"", "{}", "{\"coloroptioninfo\": []}",
                           "{\"coloroptioninfo\": 3}", "{\"other\": {}}"}) {
    EXPECT_EQ(ColourOptionsFromDocument(JsonFileIo::ParseJsonText(text), Fallback()), Fallback())
        << text;
  }
}

TEST(ColourOptionsDocumentTest, DamagedPresetsKeepTheFallbackAtTheirPlace) {
  const ColourOptions options = ColourOptionsFromDocument(
      Info(R"("palletDialogcoloroption": [ {"color": "#FF111111"}, {"color": "red"}, 5,
              {"colour": "#FF222222"}, {"color": 4278190335}, {"color": "#333333"} ])"),
      Fallback());
  auto expected = Fallback().presets;
  expected[0] = 0xFF111111;
  expected[5] = 0xFF333333;
  EXPECT_EQ(options.presets, expected);
  // Extra presets beyond twenty are ignored.
  Json::Value many = Info("\"palletDialogcoloroption\": []");
  for (int i = 0; i < 25; ++i) {
    Json::Value entry;
    entry["color"] = ArgbText(0xFF000000u + i);
    many["coloroptioninfo"]["palletDialogcoloroption"].append(entry);
  }
  const ColourOptions from_many = ColourOptionsFromDocument(many, Fallback());
  EXPECT_EQ(from_many.presets[19], 0xFF000013u);
}

TEST(ColourOptionsDocumentTest, SelectionsOutsideTheirListsBecomeTheFirstEntry) {
  struct Case {
    const char* preset_selection;
    const char* collected;
    const char* collected_selection;
    int expected_preset;
    int expected_collected;
  };
  const char* two = R"([{"color": "#FF000001", "UserData": "x"}, {"color": "#FF000002"}])";
  const Case cases[] = {
      {"3", two, "1", 3, 1},       {"19", two, "0", 19, 0},       {"20", two, "2", 0, 0},
      {"-1", two, "-1", 0, 0},     {"\"4\"", two, "\"1\"", 0, 0}, {"2.9", two, "1.5", 2, 1},
      {"1e12", two, "null", 0, 0}, {"3", "[]", "0", 3, -1},       {"3", "[]", "-1", 3, -1},
  };
  for (const Case& c : cases) {
    const ColourOptions options = ColourOptionsFromDocument(
        Info(std::string("\"palletDialogcoloroption_selectitem\": ") + c.preset_selection +
             ", \"palletDialogcollectcoloroption\": " + c.collected +
             ", \"palletDialogcollectcoloroption_selectitem\": " + c.collected_selection),
        Fallback());
    EXPECT_EQ(options.selected_preset, c.expected_preset) << c.preset_selection;
    EXPECT_EQ(options.selected_collected, c.expected_collected) << c.collected_selection;
  }
}

TEST(ColourOptionsDocumentTest, CollectedColoursSkipDamagedEntriesAndStopAtTheLimit) {
  const ColourOptions options =
      ColourOptionsFromDocument(Info(R"("palletDialogcollectcoloroption": [
                {"color": "#FF0000AA", "UserData": "mine"}, "#FF0000BB", {"color": "nope"},
                {"UserData": "no colour"}, {"color": "#0000CC", "UserData": 12},
                {"color": "#FF0000DD"} ])"),
                                Fallback());
  const std::vector<CollectedColour> expected = {
      {0xFF0000AA, "mine"}, {0xFF0000CC, "#FF0000CC"}, {0xFF0000DD, "#FF0000DD"}};
  EXPECT_EQ(options.collected, expected);
  // Presets and their selection were not in the document: the fallback's stay.
  EXPECT_EQ(options.presets, Fallback().presets);

  Json::Value crowded = Info("\"palletDialogcollectcoloroption\": []");
  for (int i = 0; i < kCollectedColourLimit + 5; ++i) {
    Json::Value entry;
    entry["color"] = ArgbText(0xFF000100u + i);
    crowded["coloroptioninfo"]["palletDialogcollectcoloroption"].append(entry);
  }
  const ColourOptions limited = ColourOptionsFromDocument(crowded, Fallback());
  ASSERT_EQ(limited.collected.size(), static_cast<size_t>(kCollectedColourLimit));
  EXPECT_EQ(limited.collected.back().argb, 0xFF000100u + kCollectedColourLimit - 1);

  // Without a collection member the fallback's collection (and its selection) stays.
  EXPECT_EQ(ColourOptionsFromDocument(Info("\"palletDialogcollectcoloroption\": {}"), Fallback())
                .collected,
            Fallback().collected);
}

TEST(ColourOptionsDocumentTest, WrittenOptionsReadBackAndOtherMembersStay) {
  ColourOptions options = BuiltInColourOptions();
  options.presets[4] = 0x80112233;
  options.selected_preset = 12;
  options.collected = {{0xFF445566, "#FF445566"}, {0xFF778899, "note \"quoted\" ü"}};
  options.selected_collected = 1;

  Json::Value document = Parse(R"({"version": 3, "coloroptioninfo": {"extra": 1}})");
  const Json::Value written = WithColourOptions(document, options);
  EXPECT_EQ(written["version"], 3);
  EXPECT_EQ(ColourOptionsFromDocument(Parse(JsonFileIo::StyledText(written)), Fallback()), options);
  EXPECT_EQ(written["coloroptioninfo"]["palletDialogcoloroption"][4]["color"], "#80112233");
  EXPECT_EQ(written["coloroptioninfo"]["palletDialogcollectcoloroption"][1]["UserData"],
            "note \"quoted\" ü");
  // A document that is not an object is replaced.
  EXPECT_EQ(ColourOptionsFromDocument(WithColourOptions(Json::Value("text"), options), Fallback()),
            options);
}

TEST(ColourOptionsDocumentTest, ShippedFactoryFileMatchesTheBuiltInPresets) {
  const ColourOptions shipped =
      ColourOptionsFromDocument(JsonFileIo::ReadJsonFile(kShippedFactory), ColourOptions{});
  EXPECT_EQ(shipped.presets, BuiltInColourOptions().presets);
  EXPECT_FALSE(shipped.collected.empty());
  EXPECT_LE(shipped.collected.size(), static_cast<size_t>(kCollectedColourLimit));
}

TEST(CollectedColoursTest, AddingSelectsAndRefusesWhenFull) {
  ColourOptions options;
  EXPECT_TRUE(AddCollectedColour(options, 0xFF0000AA));
  EXPECT_TRUE(AddCollectedColour(options, 0xFF0000BB, "note"));
  EXPECT_EQ(options.collected,
            (std::vector<CollectedColour>{{0xFF0000AA, "#FF0000AA"}, {0xFF0000BB, "note"}}));
  EXPECT_EQ(options.selected_collected, 1);
  // A colour already collected is selected, not added again.
  EXPECT_TRUE(AddCollectedColour(options, 0xFF0000AA));
  EXPECT_EQ(options.collected.size(), 2u);
  EXPECT_EQ(options.selected_collected, 0);

  for (uint32_t i = 2; i < kCollectedColourLimit; ++i) {
    EXPECT_TRUE(AddCollectedColour(options, 0xFF000000 + i));
  }
  const ColourOptions full = options;
  EXPECT_FALSE(AddCollectedColour(options, 0xFFABCDEF));
  EXPECT_EQ(options, full);
  EXPECT_TRUE(AddCollectedColour(options, 0xFF0000BB));  // still found when full
  EXPECT_EQ(options.selected_collected, 1);
}

TEST(CollectedColoursTest, RemovingKeepsTheSelectionOnAnEntry) {
  struct Case {
    int count;
    int selected;
    int remove;
    bool removed;
    int expected_selected;
  };
  const Case cases[] = {
      {3, 2, 0, true, 1},                       // selection moves with its entry
      {3, 0, 2, true, 0},  {3, 1, 1, true, 1},  // the next entry takes the place
      {3, 2, 2, true, 1},                       // the last one goes: the new last one
      {1, 0, 0, true, -1}, {3, 1, 3, false, 1}, {3, 1, -1, false, 1}, {0, -1, 0, false, -1},
  };
  for (const Case& c : cases) {
    ColourOptions options;
    for (int i = 0; i < c.count; ++i) options.collected.push_back({0xFF000000u + i, "x"});
    options.selected_collected = c.selected;
    EXPECT_EQ(RemoveCollectedColour(options, c.remove), c.removed) << c.remove;
    EXPECT_EQ(options.collected.size(), static_cast<size_t>(c.count - (c.removed ? 1 : 0)));
    EXPECT_EQ(options.selected_collected, c.expected_selected)
        << "count " << c.count << " selected " << c.selected << " remove " << c.remove;
  }
}

TEST(ColourOptionPathsTest, UserFileIsPerUserAndFactoryFileInDefaultData) {
  const ProfileFolders folders{"/opt/vorlin", "/home/u/.local/share/vorlin"};
  EXPECT_EQ(UserColourOptionsPath(folders), "/home/u/.local/share/vorlin/color_option_info.config");
  EXPECT_EQ(DefaultColourOptionsPath(folders), "/opt/vorlin/DefaultData/color_option_info.config");
  EXPECT_EQ(UserColourOptionsPath({"/opt/vorlin", "/u/"}), "/u/color_option_info.config");
}

class ColourOptionStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path().toStdString();
    user_ = root_ / "user" / "color_option_info.config";
    factory_ = root_ / "factory.config";
    fs::copy_file(kShippedFactory, factory_);
  }
  ColourOptionStore Store() const { return ColourOptionStore(user_, factory_); }
  ColourOptions FactoryOptions() const {
    return ColourOptionsFromDocument(JsonFileIo::ReadJsonFile(factory_), BuiltInColourOptions());
  }
  std::vector<fs::path> KeptFiles() const {
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(user_.parent_path())) {
      if (entry.path().filename().string().find(".unreadable-") != std::string::npos)
        kept.push_back(entry.path());
    }
    return kept;
  }

  QTemporaryDir dir_;
  fs::path root_;
  fs::path user_;
  fs::path factory_;
};

TEST_F(ColourOptionStoreTest, FirstLoadCopiesTheFactoryFile) {
  // The factory file travels whole (extra members too) into the user's copy.
  Json::Value factory = JsonFileIo::ReadJsonFile(factory_);
  factory["note"] = "factory";
  factory["coloroptioninfo"]["palletDialogcoloroption_selectitem"] = 4;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(factory_, factory));

  const ColourOptions loaded = Store().Load();
  EXPECT_EQ(loaded, FactoryOptions());
  EXPECT_EQ(loaded.selected_preset, 4);
  ASSERT_TRUE(fs::exists(user_));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(user_), factory);
  // Nothing is left behind by the crash-safe write.
  EXPECT_EQ(std::distance(fs::directory_iterator(user_.parent_path()), fs::directory_iterator()),
            1);

  // From now on the user's file is read, not the factory one.
  factory["coloroptioninfo"]["palletDialogcoloroption_selectitem"] = 9;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(factory_, factory));
  EXPECT_EQ(Store().Load().selected_preset, 4);
}

TEST_F(ColourOptionStoreTest, WithoutAnyFileTheBuiltInOptionsAreUsedAndNothingIsWritten) {
  for (const std::string& factory_bytes :
       {std::string(), std::string("{ broken"), std::string("{\"coloroptioninfo\": 1}")}) {
    fs::remove(factory_);
    if (!factory_bytes.empty()) WriteBytes(factory_, factory_bytes);
    EXPECT_EQ(Store().Load(), BuiltInColourOptions()) << factory_bytes;
    EXPECT_FALSE(fs::exists(user_)) << factory_bytes;
  }
}

TEST_F(ColourOptionStoreTest, UnreadableUserFilesReadAsFactoryOptionsAndStayUntouched) {
  fs::create_directories(user_.parent_path());
  const std::string cases[] = {
      "",
      "not json at all",
      "[1, 2, 3]",
      "{\"coloroptioninfo\": [\"#FF000000\"]}",
      "{\"coloroptioninfo\": {\"palletDialogcoloroption\": ",
      std::string("\x89PNG\r\n\x1a\n\0\0\0", 11),
  };
  for (const std::string& bytes : cases) {
    WriteBytes(user_, bytes);
    EXPECT_EQ(Store().Load(), FactoryOptions()) << bytes;
    EXPECT_EQ(ReadBytes(user_), bytes);
  }
  fs::remove(user_);
  fs::create_directory(user_);  // a folder where the file belongs
  EXPECT_EQ(Store().Load(), FactoryOptions());
}

TEST_F(ColourOptionStoreTest, SavedOptionsReadBackAndKeepTheFilesOtherMembers) {
  ColourOptionStore store = Store();
  ColourOptions options = store.Load();
  options.selected_preset = 11;
  ASSERT_TRUE(AddCollectedColour(options, 0xFF123456));
  Json::Value document = JsonFileIo::ReadJsonFile(user_);
  document["keep"] = "me";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(user_, document));

  ASSERT_TRUE(store.Save(options));
  EXPECT_EQ(Store().Load(), options);
  EXPECT_EQ(JsonFileIo::ReadJsonFile(user_)["keep"], "me");
  EXPECT_TRUE(KeptFiles().empty());
}

TEST_F(ColourOptionStoreTest, SavingOverAnUnreadableFileKeepsItBeside) {
  fs::create_directories(user_.parent_path());
  const std::string damaged = "{\"coloroptioninfo\": {\"palletDialogcoloroption\": [";
  WriteBytes(user_, damaged);
  ColourOptions options = Store().Load();
  ASSERT_TRUE(AddCollectedColour(options, 0xFF654321));
  ASSERT_TRUE(Store().Save(options));
  EXPECT_EQ(Store().Load(), options);
  const std::vector<fs::path> kept = KeptFiles();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadBytes(kept[0]), damaged);
}

TEST_F(ColourOptionStoreTest, SaveReportsAFileThatCannotBeWritten) {
  // The user's folder is taken by a plain file: nothing can be written below it.
  WriteBytes(root_ / "user", "a file");
  ColourOptionStore store = Store();
  const ColourOptions options = store.Load();
  EXPECT_EQ(options, FactoryOptions());
  EXPECT_FALSE(store.Save(options));
  EXPECT_EQ(ReadBytes(root_ / "user"), "a file");
}

}  // namespace
}  // namespace vorlin
