// Naming rules of new, copied, imported and renamed profiles.
#include "profiles/profile_list_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlin {
namespace {

using Names = std::vector<std::string>;

TEST(ProfileListNamesTest, NamesDifferingOnlyInCaseAreTheSame) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"Work", "work", true},   {"WORK", "wOrK", true},   {"Straße", "STRASSE", false},
      {"Ärger", "ärger", true}, {"Игра", "игра", true},   {"配置", "配置", true},
      {"work", "work ", false}, {"work1", "work", false}, {"", "", true},
  };
  for (const Case& c : cases) EXPECT_EQ(SameProfileName(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(ProfileListNamesTest, BlankNames) {
  for (const char* blank : {"", " ", "   ", "\t", " \t\n "}) EXPECT_TRUE(IsBlankProfileName(blank));
  for (const char* name : {"a", " a ", "\t1", "配置"}) EXPECT_FALSE(IsBlankProfileName(name));
}

TEST(ProfileListNamesTest, TakenLeavesOutTheProfileBeingRenamed) {
  const Names names = {"profile1", "Gaming"};
  EXPECT_TRUE(ProfileNameTaken(names, "gaming"));
  EXPECT_TRUE(ProfileNameTaken(names, "gaming", 0));
  EXPECT_FALSE(ProfileNameTaken(names, "GAMING", 1));
  EXPECT_FALSE(ProfileNameTaken(names, "Office"));
}

TEST(ProfileListNamesTest, NewProfileTakesTheFirstFreeNumber) {
  struct Case {
    Names names;
    const char* expected;
  };
  const Case cases[] = {
      {{}, "profile1"},
      {{"profile1"}, "profile2"},
      {{"profile1", "profile3"}, "profile2"},
      {{"PROFILE1", "Profile2"}, "profile3"},
      {{"profile2", "profile10"}, "profile1"},
      {{"profile1", "profile2", "profile3", "work"}, "profile4"},
  };
  for (const Case& c : cases) EXPECT_EQ(NewProfileName(c.names), c.expected) << c.expected;
}

TEST(ProfileListNamesTest, CopyAppendsCopyUntilTheNameIsFree) {
  struct Case {
    Names names;
    const char* source;
    const char* expected;
  };
  const Case cases[] = {
      {{"A"}, "A", "A copy"},
      {{"A", "A copy"}, "A", "A copy copy"},
      {{"A", "a COPY"}, "A", "A copy copy"},
      {{"A", "A copy", "A copy copy"}, "A copy", "A copy copy copy"},
      {{"A", "A copy copy"}, "A", "A copy"},
  };
  for (const Case& c : cases) EXPECT_EQ(CopyProfileName(c.names, c.source), c.expected);
}

TEST(ProfileListNamesTest, ImportAppendsAGrowingCounterToThePreviousAttempt) {
  struct Case {
    Names names;
    const char* title;
    const char* expected;
  };
  const Case cases[] = {
      {{"profile1"}, "work", "work"},
      {{"work"}, "work", "work(1)"},
      {{"work", "work(1)"}, "work", "work(1)(2)"},
      {{"WORK", "Work(1)", "work(1)(2)"}, "work", "work(1)(2)(3)"},
      {{"work", "work(1)(2)"}, "work", "work(1)"},
      {{"profile1"}, "", "profile2"},
      {{"profile1"}, "  ", "profile2"},
      // A file name may hold what a profile name may not.
      {{"work"}, " work\n", "work(1)"},
      {{"profile1"}, "\x01\t", "profile2"},
  };
  for (const Case& c : cases) EXPECT_EQ(ImportedProfileName(c.names, c.title), c.expected);
}

TEST(ProfileListNamesTest, NamesAreKeptCleanOnOneLine) {
  const std::string long_name(80, 'x');
  // 63 letters and then a character outside the basic plane (two UTF-16 code units).
  const std::string split_pair = std::string(63, 'a') + "\xF0\x9F\x8E\xAE" + "b";
  struct Case {
    std::string name;
    std::string expected;
  };
  const Case cases[] = {
      {"Gaming", "Gaming"},
      {"  Gaming \t", "Gaming"},
      {"two\nlines", "two lines"},
      {"bell\x07\x7F", "bell"},
      {"para\xE2\x80\xA9graph", "para graph"},  // U+2029
      {std::string("nul\0in", 6), "nul in"},
      {"bad \xFF byte", "bad \xEF\xBF\xBD byte"},  // U+FFFD
      {"../a/b\\c:*?\"<>|", "../a/b\\c:*?\"<>|"},
      {"配置 2", "配置 2"},
      {" \r\n ", ""},
      {long_name, std::string(64, 'x')},
      {split_pair, std::string(63, 'a')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanProfileName(c.name), c.expected) << c.name;
    EXPECT_EQ(CleanProfileName(c.expected), c.expected) << "not stable: " << c.expected;
  }
}

}  // namespace
}  // namespace vorlin
