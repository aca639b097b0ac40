#include "profiles/json_access.h"

#include <gtest/gtest.h>

#include <optional>

#include "profiles/json_file_io.h"

namespace vorlin {
namespace {

Json::Value Parse(const char* text) {
  Json::Value value = JsonFileIo::ParseJsonText(text);
  EXPECT_FALSE(value.isNull()) << text;
  return value;
}

TEST(JsonAccessTest, IntegersOfEveryShape) {
  struct Case {
    const char* document;  // {"v": ...}
    std::optional<int> expected;
  };
  const Case cases[] = {
      {R"({"v": 5})", 5},
      {R"({"v": -1})", -1},
      {R"({"v": 2147483647})", 2147483647},
      {R"({"v": -2147483648})", -2147483647 - 1},
      {R"({"v": 2147483648})", std::nullopt},
      {R"({"v": 4294967295})", std::nullopt},
      {R"({"v": 18446744073709551615})", std::nullopt},
      {R"({"v": 99999999999999999999999})", std::nullopt},
      {R"({"v": -9223372036854775808})", std::nullopt},
      {R"({"v": 1e300})", std::nullopt},
      {R"({"v": -1e300})", std::nullopt},
      {R"({"v": 5.9})", 5},
      {R"({"v": -5.9})", -5},
      {R"({"v": true})", 1},
      {R"({"v": false})", 0},
      {R"({"v": "5"})", std::nullopt},
      {R"({"v": null})", std::nullopt},
      {R"({"v": [5]})", std::nullopt},
      {R"({"v": {"v": 5}})", std::nullopt},
      {R"({"w": 5})", std::nullopt},
      {R"([5])", std::nullopt},
      {R"("v")", std::nullopt},
  };
  for (const Case& c : cases) {
    const Json::Value document = Parse(c.document);
    EXPECT_EQ(AsInt(Member(document, "v")), c.expected) << c.document;
    EXPECT_EQ(ReadInt(document, "v", -77), c.expected.value_or(-77)) << c.document;
  }
}

TEST(JsonAccessTest, BooleansOfEveryShape) {
  struct Case {
    const char* document;
    std::optional<bool> expected;
  };
  const Case cases[] = {
      {R"({"v": 1})", true},           {R"({"v": 2})", true},
      {R"({"v": 0})", false},          {R"({"v": -3})", true},
      {R"({"v": 0.0})", false},        {R"({"v": 0.25})", true},
      {R"({"v": 1e300})", true},       {R"({"v": 18446744073709551615})", true},
      {R"({"v": true})", true},        {R"({"v": false})", false},
      {R"({"v": "1"})", std::nullopt}, {R"({"v": []})", std::nullopt},
      {R"({"v": {}})", std::nullopt},  {R"({"v": null})", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AsBool(Member(Parse(c.document), "v")), c.expected) << c.document;
  }
}

TEST(JsonAccessTest, StringsAndElements) {
  const Json::Value document = Parse(R"({"s": "text", "n": 5, "a": [1, "two"]})");
  EXPECT_EQ(ReadString(document, "s"), "text");
  EXPECT_EQ(ReadString(document, "n", "fallback"), "fallback");
  EXPECT_EQ(ReadString(document, "a"), "");
  EXPECT_EQ(Element(Member(document, "a"), 1).asString(), "two");
  EXPECT_TRUE(Element(Member(document, "a"), 2).isNull());
  EXPECT_TRUE(Element(Member(document, "s"), 0).isNull());
  EXPECT_TRUE(Element(document, 0).isNull());  // an object is not an array
}

TEST(JsonAccessTest, MutableAccessReplacesWrongShapes) {
  Json::Value document = Parse(R"({"LightInfo": [1, 2], "KeyList": {"x": 1}, "n": 5})");
  MutableMember(document["LightInfo"], "Red") = 7;
  MutableElement(document["KeyList"], 2) = 9;
  MutableMember(MutableMember(document["n"], "a"), "b") = 1;
  EXPECT_EQ(document["LightInfo"]["Red"].asInt(), 7);
  EXPECT_EQ(document["KeyList"].size(), 3u);
  EXPECT_EQ(document["KeyList"][2].asInt(), 9);
  EXPECT_EQ(document["n"]["a"]["b"].asInt(), 1);
}

}  // namespace
}  // namespace vorlin
