#include "profiles/json_file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

TEST(JsonFileIoTest, WritesTheStyledFormWithOneClosingNewline) {
  TempFolder folder;
  Json::Value document(Json::objectValue);
  document["Device"][0]["KeyList"] = Json::Value(Json::arrayValue);
  document["profilename"] = "profile1";
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(folder.File("p.Json"), document));
  EXPECT_EQ(ReadText(folder.File("p.Json")),
            "{\n"
            "   \"Device\" : [\n"
            "      {\n"
            "         \"KeyList\" : []\n"
            "      }\n"
            "   ],\n"
            "   \"profilename\" : \"profile1\"\n"
            "}\n");
}

TEST(JsonFileIoTest, MemberNamesWithANulCharacterAreWrittenWhole) {
  // A hand-made name that differs from a real key only after a NUL must stay a different key.
  const Json::Value entry = JsonFileIo::ParseJsonText(
      R"({"Device": [{"KeyList": [{"Assignment": 1}], "KeyList\u0000copy": 5,
                      "\u0000": {"a\u0000b": [1]}}]})");
  ASSERT_TRUE(entry.isObject());
  const std::string text = JsonFileIo::StyledText(entry);
  EXPECT_EQ(JsonFileIo::ParseJsonText(text), entry) << text;
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\t'), std::string::npos);
}

TEST(JsonFileIoTest, ReadsBackWhatItWrote) {
  TempFolder folder;
  Json::Value document;
  document["name"] = "\xE9\xBC\xA0\xE6\xA0\x87";  // UTF-8 text survives unchanged
  document["numbers"].append(-7);
  document["numbers"].append(16777215);
  document["nested"]["flag"] = true;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(folder.File("doc.json"), document));
  EXPECT_EQ(JsonFileIo::ReadJsonFile(folder.File("doc.json")), document);
}

TEST(JsonFileIoTest, AcceptsComments) {
  TempFolder folder;
  WriteText(folder.File("c.json"), "// factory settings\n{ \"a\" : 1 /* one */ }\n");
  EXPECT_EQ(JsonFileIo::ReadJsonFile(folder.File("c.json"))["a"].asInt(), 1);
}

TEST(JsonFileIoTest, UnreadableDocumentsReadAsNull) {
  TempFolder folder;
  WriteText(folder.File("empty.json"), "");
  WriteText(folder.File("garbage.json"), "\x01\x02 not json");
  WriteText(folder.File("truncated.json"), "{ \"Device\" : [ { \"KeyList\" : [");
  WriteText(folder.File("deep.json"), std::string(100000, '[') + std::string(100000, ']'));
  std::filesystem::create_directory(folder.File("folder.json"));
  ASSERT_EQ(::mkfifo(folder.File("fifo.json").c_str(), 0600), 0);
  {
    // A sparse file far larger than any document.
    WriteText(folder.File("huge.json"), "{}");
    std::filesystem::resize_file(folder.File("huge.json"), JsonFileIo::kMaxDocumentBytes + 1);
  }
  for (const char* name : {"missing.json", "empty.json", "garbage.json", "truncated.json",
                           "deep.json", "folder.json", "fifo.json", "huge.json"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(JsonFileIo::ReadJsonFile(folder.File(name)).isNull());
  }
  EXPECT_TRUE(JsonFileIo::ReadJsonFile("").isNull());
}

TEST(JsonFileIoTest, NestingUpToTheLimitParses) {
  const int depth = JsonFileIo::kMaxNesting - 1;
  const Json::Value value =
      JsonFileIo::ParseJsonText(std::string(depth, '[') + "1" + std::string(depth, ']'));
  EXPECT_TRUE(value.isArray());
}

TEST(JsonFileIoTest, WriteIntoAMissingFolderFailsAndCreatesNothing) {
  TempFolder folder;
  EXPECT_FALSE(JsonFileIo::WriteJsonFile(folder.File("no/such/folder/p.Json"), Json::Value(1)));
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(JsonFileIoTest, TimeStampIdFormat) {
  struct Case {
    int year, month, day, hour, minute, second, ms;
    const char* expected;
  };
  const Case cases[] = {
      {2024, 3, 9, 14, 5, 7, 42, "2024_03_09_14_05_07_042"},
      {1999, 12, 31, 23, 59, 59, 999, "1999_12_31_23_59_59_999"},
      {2030, 1, 1, 0, 0, 0, 0, "2030_01_01_00_00_00_000"},
  };
  for (const Case& c : cases) {
    std::tm t{};
    t.tm_year = c.year - 1900;
    t.tm_mon = c.month - 1;
    t.tm_mday = c.day;
    t.tm_hour = c.hour;
    t.tm_min = c.minute;
    t.tm_sec = c.second;
    EXPECT_EQ(JsonFileIo::FormatTimeStampId(t, c.ms), c.expected);
  }
}

TEST(JsonFileIoTest, TimeStampIdUsesLocalTimeAndMilliseconds) {
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz != nullptr ? old_tz : "";
  ::setenv("TZ", "UTC-2", 1);  // two hours east of UTC
  ::tzset();
  std::tm utc{};
  utc.tm_year = 2024 - 1900;
  utc.tm_mon = 2;
  utc.tm_mday = 9;
  utc.tm_hour = 12;
  utc.tm_min = 5;
  utc.tm_sec = 7;
  const auto when =
      std::chrono::system_clock::from_time_t(::timegm(&utc)) + std::chrono::microseconds(42'900);
  const std::string id = JsonFileIo::MakeTimeStampId(when);
  if (old_tz != nullptr)
    ::setenv("TZ", saved.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(id, "2024_03_09_14_05_07_042");
}

TEST(JsonFileIoTest, FileTitle) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/u/work.json", "work"},
      {"work.json", "work"},
      {"/a/b/archive.tar.gz", "archive.tar"},
      {"/a/b/noext", "noext"},
      {"/a/b.c/name", "name"},
      {"", ""},
  };
  for (const auto& [path, title] : cases) EXPECT_EQ(JsonFileIo::GetFileTitle(path), title) << path;
}

}  // namespace
}  // namespace vorlin
