// A profile document that cannot be read as one is kept beside it before the program replaces it.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/unreadable_document.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

constexpr const char* kFactory = R"({"Device": [{"LightInfo": {"Red": 200}, "KeyList": []}]})";

class UnreadableDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(profiles_);
    WriteText(default_path_, kFactory);
    data_.SetDefaultPath(default_path_);
    data_.SetProfilePath(profile_path_);
  }
  Json::Value FactoryEntry() const { return JsonFileIo::ParseJsonText(kFactory)["Device"][0]; }
  // The files kept beside the profile.
  std::vector<std::filesystem::path> Kept() const {
    std::vector<std::filesystem::path> kept;
    for (const auto& file : std::filesystem::directory_iterator(profiles_)) {
      if (file.path().filename().string().starts_with("work.Json.unreadable-"))
        kept.push_back(file.path());
    }
    return kept;
  }

  TempFolder folder_;
  std::filesystem::path profiles_ = folder_.path() / "mouse";
  std::string default_path_ = folder_.File("mouse.Json");
  std::string profile_path_ = (profiles_ / "work.Json").string();
  CBasicProfiledata data_;
};

struct SeedCase {
  const char* what;
  std::string text;
  bool kept;
};

TEST_F(UnreadableDocumentTest, SeedingKeepsWhatItCannotReadAndOnlyThat) {
  const SeedCase cases[] = {
      {"not JSON", R"({"Device": [{"KeyList": [], "LightInfo": {"Red": 9})", true},
      {"binary", std::string("\xff\xfe\x00\x01garbage", 11), true},
      {"an array", R"([{"KeyList": []}])", true},
      {"a number", "42", true},
      {"Device not an array", R"({"profilename": "Work", "Device": {"0": {"KeyList": []}}})", true},
      {"entry a string", R"({"profilename": "Work", "Device": ["my settings"]})", true},
      {"entry an array", R"({"Device": [[1, 2, 3]]})", true},
      {"entry missing", R"({"profilename": "Work", "Device": []})", false},
      {"entry null", R"({"profilename": "Work", "Device": [null]})", false},
      {"no Device", R"({"profilename": "Work"})", false},
      {"empty file", "", false},
  };
  for (const SeedCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(profiles_);
    std::filesystem::create_directories(profiles_);
    WriteText(profile_path_, c.text);

    EXPECT_EQ(data_.LoadDevice(profile_path_), FactoryEntry());
    const Json::Value written = JsonFileIo::ReadJsonFile(profile_path_);
    EXPECT_EQ(written["Device"][0], FactoryEntry());

    const std::vector<std::filesystem::path> kept = Kept();
    ASSERT_EQ(kept.size(), c.kept ? 1u : 0u);
    if (c.kept) {
      EXPECT_EQ(ReadText(kept[0]), c.text);
      EXPECT_TRUE(std::regex_match(kept[0].filename().string(),
                                   std::regex(R"(work\.Json\.unreadable-\d{4}(_\d\d){5}_\d{3})")))
          << kept[0];
    }
    // Other keys of an object survive in the new document as they always did.
    if (c.text.find("\"profilename\"") != std::string::npos) {
      EXPECT_EQ(written["profilename"].asString(), "Work");
    }
  }
}

TEST_F(UnreadableDocumentTest, LoadingTheOtherProfileKeepsItToo) {
  WriteText(profile_path_, "{ broken");
  EXPECT_EQ(data_.LoadOtherDevice(profile_path_), FactoryEntry());
  ASSERT_EQ(Kept().size(), 1u);
  EXPECT_EQ(ReadText(Kept()[0]), "{ broken");
}

TEST_F(UnreadableDocumentTest, DocumentTooLargeToBeOursIsKept) {
  std::string huge(JsonFileIo::kMaxDocumentBytes + 1, ' ');
  huge += "{}";
  WriteText(profile_path_, huge);
  data_.LoadDevice(profile_path_);
  ASSERT_EQ(Kept().size(), 1u);
  EXPECT_EQ(std::filesystem::file_size(Kept()[0]), huge.size());
}

TEST_F(UnreadableDocumentTest, SavingOverADocumentThatBecameUnreadableKeepsIt) {
  data_.LoadDevice(profile_path_);
  WriteText(profile_path_, "[\"edited by hand\"");
  data_.SetLightSettings(LightSettings{.mode = 4});
  ASSERT_TRUE(data_.Save());
  EXPECT_EQ(JsonFileIo::ReadJsonFile(profile_path_)["Device"][0]["LightInfo"]["SelectItem"], 4);
  ASSERT_EQ(Kept().size(), 1u);
  EXPECT_EQ(ReadText(Kept()[0]), "[\"edited by hand\"");
  // A readable document is saved over without a copy.
  ASSERT_TRUE(data_.Save());
  EXPECT_EQ(Kept().size(), 1u);
}

TEST_F(UnreadableDocumentTest, DocumentThatCannotBeKeptIsNotReplaced) {
  // A file name so long that no longer name fits beside it: the copy cannot be made, so the
  // document must stay as it is.
  const std::string long_path = (profiles_ / (std::string(240, 'p') + ".Json")).string();
  WriteText(long_path, "{ broken");
  EXPECT_EQ(data_.LoadDevice(long_path), FactoryEntry());
  EXPECT_EQ(ReadText(long_path), "{ broken");
  data_.SetProfilePath(long_path);
  EXPECT_FALSE(data_.Save());
  EXPECT_EQ(ReadText(long_path), "{ broken");
}

TEST_F(UnreadableDocumentTest, KeptNamesNeverReplaceAnEarlierCopy) {
  const std::string stamp = "2024_03_09_14_05_07_042";
  std::vector<std::filesystem::path> kept;
  for (const char* text : {"first", "second", "third"}) {
    WriteText(profile_path_, text);
    kept.push_back(KeepUnreadableDocument(profile_path_, stamp));
  }
  const std::string base = profile_path_ + ".unreadable-" + stamp;
  EXPECT_EQ(kept, (std::vector<std::filesystem::path>{base, base + "-2", base + "-3"}));
  EXPECT_EQ(ReadText(kept[0]), "first");
  EXPECT_EQ(ReadText(kept[1]), "second");
  EXPECT_EQ(ReadText(kept[2]), "third");
  // The document itself stays where it was until it is replaced.
  EXPECT_EQ(ReadText(profile_path_), "third");
  EXPECT_TRUE(KeepUnreadableDocument(profiles_ / "missing.Json", stamp).empty());
}

}  // namespace
}  // namespace vorlin
