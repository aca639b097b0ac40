// Documents edited by hand or by other programs may hold bytes that are not UTF-8. They must read
// as U+FFFD and come back from a save as exactly that, with every byte around them kept.

#include "profiles/utf8_repair.h"

#include <gtest/gtest.h>
#include <json/value.h>

#include <string>
#include <vector>

#include "profiles/json_file_io.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

TEST(Utf8RepairTest, InvalidSequencesBecomeOneReplacementEachAndTheRestIsKept) {
  const std::string r = kReplacement;
  const struct {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"ascii", "DPIStages", "DPIStages"},
      {"valid two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"},
      {"lead byte before ascii", "\xC3(", r + "("},
      {"three-byte lead before ascii", "DPI\xEDStages", "DPI" + r + "Stages"},
      {"lone continuation bytes",
       "a\x80\xBF"
       "b",
       "a" + r + r + "b"},
      {"truncated at the end", "x\xE2\x82", "x" + r},
      {"overlong", "\xC0\xAF", r + r},
      {"surrogate", "\xED\xA0\x80", r + r + r},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"bytes that are never UTF-8", "\xFE\xFF", r + r},
      {"truncated three-byte before a valid one", "\xE2\x82\xC3\xA9", r + "\xC3\xA9"},
      {"nul is kept", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RepairUtf8(c.in), c.out);
  }
}

// Reading and saving a document again leaves its text and its keys as they were read.
TEST(Utf8RepairTest, ADocumentWithInvalidBytesSurvivesASaveUnchanged) {
  testing::TempFolder folder;
  const std::string path = folder.File("p.Json");
  testing::WriteText(path, "{ \"Name\": \"\xC3(\", \"DPI\xEDStages\": { \"StageActive\": 2 } }");

  Json::Value document = JsonFileIo::ReadJsonFile(path);
  ASSERT_TRUE(document.isObject());
  EXPECT_EQ(document["Name"].asString(), std::string(kReplacement) + "(");
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(path, document));

  const Json::Value again = JsonFileIo::ReadJsonFile(path);
  EXPECT_EQ(again, document);
  EXPECT_EQ(again.getMemberNames(),
            (std::vector<std::string>{std::string("DPI") + kReplacement + "Stages", "Name"}));
  EXPECT_EQ(again["DPI\xEF\xBF\xBDStages"]["StageActive"].asInt(), 2);
}

}  // namespace
}  // namespace vorlin
