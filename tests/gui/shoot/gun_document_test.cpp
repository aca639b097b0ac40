// The gun documents: the bullet encoding, reading whatever a gun file holds, writing a bullet
// into a document, the selections' ranges, and copying and seeding gun files.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "profiles/gun_document.h"
#include "profiles/json_file_io.h"
#include "shoot_test_support.h"

namespace vorlin::testing {
namespace {

Json::Value Parse(const std::string& text) {
  return JsonFileIo::ParseJsonText(text);
}

Json::Value Ev(const char* action, int button, int delay, int type) {
  Json::Value e(Json::objectValue);
  e["Action"] = action;
  e["Button"] = button;
  e["Delay"] = delay;
  e["Type"] = type;
  return e;
}

TEST(GunDocumentTest, LeadingNumberOfEditTexts) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {
      {"", 0},          {"abc", 0},    {"12", 12},
      {"  42x", 42},    {"\t3", 3},    {"-7", -7},
      {"+5", 5},        {"1 2", 1},    {"-", 0},
      {"99999999999", INT_MAX},        {"-99999999999", INT_MIN},
      {"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.expected) << c.text;
}

TEST(GunDocumentTest, SelectionsAreBroughtIntoRange) {
  const struct {
    int asked, gun, bullet;
  } cases[] = {
      {-2, 0, 0}, {-1, 0, 0}, {0, 0, 0},   {3, 3, 3},          {4, 3, 4},
      {5, 3, 5},  {29, 3, 29}, {30, 3, 29}, {INT_MIN, 0, 0}, {INT_MAX, 3, 29},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClampGunIndex(c.asked), c.gun) << c.asked;
    EXPECT_EQ(ClampBulletIndex(c.asked), c.bullet) << c.asked;
  }
}

TEST(GunDocumentTest, EditorValuesAreKeptToWhatTheMouseCanTake) {
  const struct {
    Bullet in, out;
  } cases[] = {
      {{true, 3, false, 7, 90}, {true, 3, false, 7, 90}},
      {{false, 300, true, 256, 70000}, {false, 255, true, 255, 65535}},
      {{false, -1, false, -300, -5}, {false, 0, false, 0, 0}},
      {{true, 255, true, 0, 65535}, {true, 255, true, 0, 65535}},
  };
  for (const auto& c : cases) EXPECT_EQ(ClampBullet(c.in), c.out);
  // What the mouse moves for a distance already stored: its low 8 bits.
  EXPECT_EQ(DeviceDistance(300), 44);
  EXPECT_EQ(DeviceDistance(255), 255);
  EXPECT_EQ(DeviceDistance(256), 0);
}

TEST(GunDocumentTest, BulletBecomesItsSixEvents) {
  // X 3 to the left, Y 7 downwards, 90 ms.
  const Json::Value events = BulletEvents({true, 3, false, 7, 90});
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[0], Ev("down", 1, 10, 1));
  EXPECT_EQ(events[1], Ev("up", 1, 0, 1));
  EXPECT_EQ(events[2], Ev("down", 3, 5, 4));
  EXPECT_EQ(events[3], Ev("up", 7, 90, 5));
  EXPECT_EQ(events[4], Ev("down", 0, 0, 4));
  EXPECT_EQ(events[5], Ev("up", 0, 0, 5));
  // Right and up.
  const Json::Value other = BulletEvents({false, 0, true, 12, 0});
  EXPECT_EQ(other[2], Ev("up", 0, 5, 4));
  EXPECT_EQ(other[3], Ev("down", 12, 0, 5));
  EXPECT_EQ(other[5], Ev("down", 0, 0, 5));
}

TEST(GunDocumentTest, WritingABulletChangesOnlyItsSixEvents) {
  Json::Value gun = ReadGunFile(GunFilePath(FactoryFolder(), 0));
  ASSERT_EQ(gun["Events"].size(), 180u);
  gun["Name"] = "kept";
  const Json::Value before = gun;
  ASSERT_TRUE(WriteBullet(gun, 2, {true, 3, false, 7, 90}));
  EXPECT_EQ(gun["Name"], "kept");
  ASSERT_EQ(gun["Events"].size(), 180u);
  const Json::Value expected = BulletEvents({true, 3, false, 7, 90});
  for (Json::ArrayIndex i = 0; i < 180; ++i) {
    if (i >= 12 && i < 18) {
      EXPECT_EQ(gun["Events"][i], expected[i - 12]) << i;
    } else {
      EXPECT_EQ(gun["Events"][i], before["Events"][i]) << i;
    }
  }
  EXPECT_EQ(ReadBullet(gun, 2), (Bullet{true, 3, false, 7, 90}));
}

TEST(GunDocumentTest, WritingIntoDocumentsOfEveryShape) {
  const struct {
    const char* name;
    const char* text;
    int bullet;
    Json::ArrayIndex size_after;
  } cases[] = {
      {"nothing", "", 0, 6},
      {"array root", "[1, 2]", 1, 12},
      {"events not an array", R"({"Events": {"a": 1}, "Name": "x"})", 0, 6},
      {"empty events", R"({"Events": []})", 3, 24},
      {"one bullet and a half", R"({"Events": [{}, {}, {}, {}, {}, {}, {"Action": "down"}]})", 2,
       18},
      {"last bullet", R"({"Events": []})", 29, 180},
  };
  const Bullet value{false, 9, true, 4, 33};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Json::Value gun = Parse(c.text);
    ASSERT_TRUE(WriteBullet(gun, c.bullet, value));
    ASSERT_TRUE(gun.isObject());
    EXPECT_EQ(gun["Events"].size(), c.size_after);
    EXPECT_EQ(ReadBullet(gun, c.bullet), value);
    // No event the mouse would receive is left empty: whole bullets skipped over are zero
    // bullets (a click without a move).
    for (Json::ArrayIndex i = 0; i < gun["Events"].size(); ++i)
      EXPECT_TRUE(gun["Events"][i].isObject()) << i;
    if (c.bullet > 0 && std::string(c.name) != "one bullet and a half") {
      EXPECT_EQ(ReadBullet(gun, c.bullet - 1), Bullet{});
    }
  }
  // An element already there is kept, even where a skipped bullet is completed.
  Json::Value half = Parse(R"({"Events": [{}, {}, {}, {}, {}, {}, {"Action": "down"}]})");
  WriteBullet(half, 2, value);
  EXPECT_EQ(half["Events"][6], Parse(R"({"Action": "down"})"));
  EXPECT_EQ(half["Events"][7], Ev("up", 1, 0, 1));
}

TEST(GunDocumentTest, NoBulletOutsideTheGunIsWritten) {
  const Json::Value original = ReadGunFile(GunFilePath(FactoryFolder(), 1));
  for (int bullet : {-1, -2, 30, 31, INT_MIN, INT_MAX}) {
    Json::Value gun = original;
    EXPECT_FALSE(WriteBullet(gun, bullet, {true, 1, true, 1, 1})) << bullet;
    EXPECT_EQ(gun, original) << bullet;
    EXPECT_EQ(ReadBullet(gun, bullet), Bullet{}) << bullet;
  }
}

TEST(GunDocumentTest, ReadingWhateverAGunFileHolds) {
  const struct {
    const char* name;
    const char* text;
    Bullet bullet0;
  } cases[] = {
      {"empty", "", {}},
      {"not an object", "[1, 2, 3]", {}},
      {"no events", R"({"Name": 1})", {}},
      {"events not an array", R"({"Events": "x"})", {}},
      {"elements not objects", R"({"Events": [1, 2, "x", [4], null, true]})", {}},
      {"short gun", R"({"Events": [{}, {}, {"Action": "down", "Button": 3}]})", {true, 3, false, 0, 0}},
      {"action in capitals",
       R"({"Events": [{}, {}, {"Action": "DOWN", "Button": 1}, {"Action": "Down", "Button": 2}]})",
       {true, 1, true, 2, 0}},
      {"action not a text", R"({"Events": [{}, {}, {"Action": 1}, {"Action": ["down"]}]})", {}},
      {"numbers of the wrong kind",
       R"({"Events": [{}, {}, {"Button": "12"}, {"Button": 3.5, "Delay": {}}]})", {}},
      {"delay in the macro form", R"({"Events": [{}, {}, {}, {"Button": 4, "Delay": "90"}]})",
       {false, 0, false, 4, 90}},
      // Delays read as the mouse reads them.
      {"delay text with blanks", R"({"Events": [{}, {}, {}, {"Delay": " 90"}]})",
       {false, 0, false, 0, 90}},
      {"numbers beyond int", R"({"Events": [{}, {}, {"Button": 4294967296}, {"Delay": -1e300}]})",
       {}},
      {"stored beyond the editor's range",
       R"({"Events": [{}, {}, {"Action": "up", "Button": 300}, {"Action": "up", "Button": 7, "Delay": 70000}]})",
       {false, 300, false, 7, 65535}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Json::Value gun = Parse(c.text);
    EXPECT_EQ(ReadBullet(gun, 0), c.bullet0);
    EXPECT_EQ(ReadBullet(gun, 1), Bullet{});
  }
}

TEST(GunDocumentTest, BulletsOfADocument) {
  const struct {
    const char* name;
    const char* text;
    size_t count;
  } cases[] = {
      {"not JSON", "", 0},
      {"not a gun", R"({"Device": []})", 0},
      {"events an object", R"({"Events": {}})", 0},
      {"no events", R"({"Events": []})", 0},
      {"one event", R"({"Events": [{}]})", 1},
      {"six events", R"({"Events": [{}, {}, {}, {}, {}, {}]})", 1},
      {"seven events", R"({"Events": [{}, {}, {}, {}, {}, {}, {}]})", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadBullets(Parse(c.text)).size(), c.count) << c.name;

  Json::Value long_gun;
  for (int b = 0; b < 40; ++b) WriteBullet(long_gun, b % 30, {});
  long_gun["Events"][199] = Json::Value(Json::objectValue);
  EXPECT_EQ(ReadBullets(long_gun).size(), 30u);

  // The factory guns are full: 30 bullets, every one a move straight down.
  for (int gun = 0; gun < kGunCount; ++gun) {
    const std::vector<Bullet> bullets = ReadBullets(ReadGunFile(GunFilePath(FactoryFolder(), gun)));
    ASSERT_EQ(bullets.size(), 30u) << gun;
    EXPECT_FALSE(bullets[0].y_up) << gun;
    EXPECT_GT(bullets[0].y_distance, 0) << gun;
  }
}

TEST(GunDocumentTest, MadeDocumentsReadBackAndSurviveTheStyledText) {
  std::vector<Bullet> bullets;
  for (int b = 0; b < 32; ++b) bullets.push_back({b % 2 == 0, b, b % 3 == 0, 2 * b, 10 * b});
  const Json::Value gun = MakeGunDocument(bullets);
  EXPECT_EQ(gun["Events"].size(), 180u);
  const std::vector<Bullet> back = ReadBullets(Parse(JsonFileIo::StyledText(gun)));
  ASSERT_EQ(back.size(), 30u);
  for (int b = 0; b < 30; ++b) EXPECT_EQ(back[b], bullets[b]) << b;
}

TEST(GunDocumentTest, GunFileNames) {
  EXPECT_EQ(GunFileName(0), "ShootData_0.Shoot");
  EXPECT_EQ(GunFileName(3), "ShootData_3.Shoot");
  EXPECT_EQ(GunFilePath("/a/b/", 2), std::filesystem::path("/a/b/ShootData_2.Shoot"));
  EXPECT_EQ(GunFilePath("/a/b", 2), std::filesystem::path("/a/b/ShootData_2.Shoot"));
}

class GunFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp_.isValid()); }
  std::filesystem::path Path(const char* name) const {
    return std::filesystem::path(temp_.path().toStdString()) / name;
  }
  QTemporaryDir temp_;
};

TEST_F(GunFileTest, CopyingTakesOnlyDocumentsAndKeepsTheirText) {
  const std::string gun_text = "// mine\n{\"Events\": [], \"Name\": \"x\"}\n";
  const struct {
    const char* name;
    bool source_exists;
    std::string source;
    GunFileResult result;
  } cases[] = {
      {"missing source", false, "", GunFileResult::kSourceUnreadable},
      {"empty source", true, "", GunFileResult::kSourceUnreadable},
      {"not JSON", true, "\x01\x02 not a gun", GunFileResult::kNotADocument},
      {"truncated JSON", true, "{\"Events\": [", GunFileResult::kNotADocument},
      {"a gun with comments", true, gun_text, GunFileResult::kDone},
      {"JSON that is not a gun", true, "[1, 2, 3]", GunFileResult::kDone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path source = Path("source.shoot");
    const std::filesystem::path target = Path("ShootData_0.Shoot");
    std::filesystem::remove(source);
    if (c.source_exists) WriteBytes(source, c.source);
    WriteBytes(target, "{\"Events\": [1]}");
    EXPECT_EQ(CopyGunFile(source, target), c.result);
    EXPECT_EQ(ReadBytes(target),
              c.result == GunFileResult::kDone ? c.source : std::string("{\"Events\": [1]}"));
  }
  WriteBytes(Path("source.shoot"), gun_text);
  EXPECT_EQ(CopyGunFile(Path("source.shoot"), Path("no/such/folder/x.shoot")),
            GunFileResult::kWriteFailed);
}

TEST_F(GunFileTest, WhichFilesNeedSeeding) {
  const struct {
    const char* name;
    const char* text;  // nullptr: no file
    bool needs;
  } cases[] = {
      {"missing", nullptr, true},
      {"empty", "", true},
      {"garbage", "garbage", true},
      {"null", "null", true},
      {"an object", "{}", false},
      {"a gun", R"({"Events": []})", false},
  };
  for (const auto& c : cases) {
    const std::filesystem::path path = Path("ShootData_1.Shoot");
    std::filesystem::remove(path);
    if (c.text) WriteBytes(path, c.text);
    EXPECT_EQ(GunFileNeedsSeeding(path), c.needs) << c.name;
  }
}

TEST_F(GunFileTest, SeedingKeepsAnUnreadableFileAside) {
  const std::filesystem::path data(temp_.path().toStdString());
  WriteBytes(GunFilePath(data, 2), "{ broken");
  ASSERT_EQ(SeedGunFile(FactoryFolder(), data, 2, true), GunFileResult::kDone);
  EXPECT_EQ(ReadBytes(GunFilePath(data, 2)), ReadBytes(GunFilePath(FactoryFolder(), 2)));
  int kept = 0;
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    if (entry.path().filename().string().rfind("ShootData_2.Shoot.unreadable-", 0) == 0) {
      ++kept;
      EXPECT_EQ(ReadBytes(entry.path()), "{ broken");
    }
  }
  EXPECT_EQ(kept, 1);

  // Without a factory file nothing is replaced.
  WriteBytes(GunFilePath(data, 3), "{\"Events\": []}");
  EXPECT_EQ(SeedGunFile(Path("nowhere"), data, 3, true), GunFileResult::kSourceUnreadable);
  EXPECT_EQ(ReadBytes(GunFilePath(data, 3)), "{\"Events\": []}");
  // A factory file that is not JSON is not copied either.
  const std::filesystem::path factory = Path("factory");
  std::filesystem::create_directories(factory);
  WriteBytes(GunFilePath(factory, 3), "nonsense");
  EXPECT_EQ(SeedGunFile(factory, data, 3, true), GunFileResult::kNotADocument);
  EXPECT_EQ(ReadBytes(GunFilePath(data, 3)), "{\"Events\": []}");
}

}  // namespace
}  // namespace vorlin::testing
