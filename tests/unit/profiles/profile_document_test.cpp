// Loading, seeding and saving of profile documents.
#include <gtest/gtest.h>

#include <string>

#include "profiles/basic_profile_data.h"
#include "profiles/json_file_io.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

constexpr const char* kFactory = R"({
  "Device": [ { "LightInfo": { "SelectItem": 3, "Red": 200 }, "KeyList": [ { "Assignment": 1 } ] } ]
})";

class ProfileDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(default_path_, kFactory);
    data_.SetDefaultPath(default_path_);
    data_.SetProfilePath(profile_path_);
  }
  Json::Value FactoryEntry() const { return JsonFileIo::ParseJsonText(kFactory)["Device"][0]; }

  TempFolder folder_;
  std::string default_path_ = folder_.File("mouse.Json");
  std::string profile_path_ = folder_.File("2024_03_09_14_05_07_042.Json");
  CBasicProfiledata data_;
};

TEST_F(ProfileDocumentTest, MissingProfileIsCreatedFromTheFactoryDocument) {
  const Json::Value entry = data_.LoadDevice(profile_path_);
  EXPECT_EQ(entry, FactoryEntry());
  EXPECT_EQ(data_.GetDeviceEntry(), FactoryEntry());
  Json::Value expected(Json::objectValue);
  expected["Device"][0] = FactoryEntry();
  EXPECT_EQ(ReadText(profile_path_), JsonFileIo::StyledText(expected));
}

TEST_F(ProfileDocumentTest, IncompleteProfileGetsTheEntryAndKeepsItsOtherKeys) {
  const char* documents[] = {
      R"({"profilename": "Gaming", "profileUUID": "x", "Device": []})",
      R"({"profilename": "Gaming", "profileUUID": "x", "Device": [null]})",
      R"({"profilename": "Gaming", "profileUUID": "x"})",
      R"({"profilename": "Gaming", "profileUUID": "x", "Device": ["not an entry"]})",
      R"({"profilename": "Gaming", "profileUUID": "x", "Device": {"0": {}}})",
  };
  for (const char* text : documents) {
    SCOPED_TRACE(text);
    WriteText(profile_path_, text);
    EXPECT_EQ(data_.LoadDevice(profile_path_), FactoryEntry());
    const Json::Value written = JsonFileIo::ReadJsonFile(profile_path_);
    EXPECT_EQ(written["profilename"].asString(), "Gaming");
    EXPECT_EQ(written["profileUUID"].asString(), "x");
    EXPECT_EQ(written["Device"][0], FactoryEntry());
  }
}

TEST_F(ProfileDocumentTest, CompleteProfileIsLoadedWithoutWriting) {
  const std::string text = R"({"Device": [{"KeyList": [], "LightInfo": {"Red": 9}}]})";
  WriteText(profile_path_, text);
  EXPECT_EQ(data_.LoadDevice(profile_path_)["LightInfo"]["Red"].asInt(), 9);
  EXPECT_EQ(ReadText(profile_path_), text);
}

TEST_F(ProfileDocumentTest, RestoringFactorySettingsNeverWritesTheFactoryDocument) {
  EXPECT_EQ(data_.LoadDevice(default_path_), FactoryEntry());
  EXPECT_EQ(ReadText(default_path_), kFactory);

  // Even a factory document without the entry stays as shipped.
  WriteText(default_path_, R"({"Device": []})");
  EXPECT_TRUE(data_.LoadDevice(default_path_).isNull());
  EXPECT_EQ(ReadText(default_path_), R"({"Device": []})");
}

TEST_F(ProfileDocumentTest, MissingFactoryDocumentLeavesTheEntryNull) {
  std::filesystem::remove(default_path_);
  EXPECT_TRUE(data_.LoadDevice(profile_path_).isNull());
  EXPECT_TRUE(JsonFileIo::ReadJsonFile(profile_path_)["Device"][0].isNull());
  // Such an entry is never saved over the profile.
  EXPECT_FALSE(data_.Save());
}

TEST_F(ProfileDocumentTest, SaveWritesTheEntryAtTheDeviceIndexOnly) {
  data_.LoadDevice(profile_path_);
  // Another writer adds a second device and a name meanwhile.
  Json::Value other = JsonFileIo::ReadJsonFile(profile_path_);
  other["Device"][1]["KeyList"][0]["Assignment"] = 42;
  other["profilename"] = "Work";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(profile_path_, other));

  data_.SetLightSettings(LightSettings{.mode = 7});
  ASSERT_TRUE(data_.Save());
  const Json::Value saved = JsonFileIo::ReadJsonFile(profile_path_);
  EXPECT_EQ(saved["Device"][0]["LightInfo"]["SelectItem"].asInt(), 7);
  EXPECT_EQ(saved["Device"][1]["KeyList"][0]["Assignment"].asInt(), 42);
  EXPECT_EQ(saved["profilename"].asString(), "Work");
}

TEST_F(ProfileDocumentTest, EntryWithoutKeyListIsNeverWritten) {
  const std::string original = R"({"Device": [{"KeyList": [], "LightInfo": {"Red": 1}}]})";
  const char* entries[] = {R"({"LightInfo": {"Red": 2}})", R"({"KeyList": null})", "5", "null",
                           R"([{"KeyList": []}])"};
  for (const char* entry : entries) {
    SCOPED_TRACE(entry);
    WriteText(profile_path_, original);
    data_.AdoptDeviceEntry(JsonFileIo::ParseJsonText(entry));
    EXPECT_FALSE(data_.Save());
    EXPECT_FALSE(data_.SaveDevice(JsonFileIo::ParseJsonText(entry), profile_path_));
    EXPECT_EQ(ReadText(profile_path_), original);
  }
}

TEST_F(ProfileDocumentTest, OtherProfileIsChangedWithoutTouchingTheCurrentOne) {
  const std::string other_path = folder_.File("other.Json");
  data_.LoadDevice(profile_path_);
  data_.LoadOtherDevice(other_path);
  std::vector<KeyAssignmentPair> keys = data_.GetOtherKeyList();
  ASSERT_EQ(keys.size(), 1u);
  keys[0].current.SetPackedCode(0x700100);
  data_.SetOtherKeyList(keys);
  ASSERT_TRUE(data_.SaveOther(other_path));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(other_path)["Device"][0]["KeyList"][0]["Assignment"].asInt(),
            0x700100);
  EXPECT_EQ(
      JsonFileIo::ReadJsonFile(profile_path_)["Device"][0]["KeyList"][0]["Assignment"].asInt(), 1);
  EXPECT_EQ(data_.GetKeyList()[0].current.PackedCode(), 1u);
}

TEST_F(ProfileDocumentTest, DeviceIndexSelectsTheEntry) {
  WriteText(profile_path_, R"({"Device": [{"KeyList": [], "LightInfo": {"Red": 1}},
                                          {"KeyList": [], "LightInfo": {"Red": 2}}]})");
  data_.SetDeviceIndex(1);
  EXPECT_EQ(data_.LoadDevice(profile_path_)["LightInfo"]["Red"].asInt(), 2);
  data_.SetDeviceIndex(-1);                                // ignored
  data_.SetDeviceIndex(CBasicProfiledata::kMaxListIndex);  // ignored
  EXPECT_EQ(data_.GetDeviceIndex(), 1);
}

TEST_F(ProfileDocumentTest, EmptyPathsAreIgnored) {
  data_.SetProfilePath("");
  data_.SetDefaultPath("");
  EXPECT_EQ(data_.GetProfilePath(), profile_path_);
  EXPECT_EQ(data_.GetDefaultPath(), default_path_);
}

TEST_F(ProfileDocumentTest, WriteDocumentWritesItUnchanged) {
  const Json::Value document = JsonFileIo::ParseJsonText(R"({"anything": [1, 2, 3]})");
  ASSERT_TRUE(data_.WriteDocument(document, folder_.File("export.json")));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(folder_.File("export.json")), document);
}

}  // namespace
}  // namespace vorlin
