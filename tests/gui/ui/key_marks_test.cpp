#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "ui/device_key_button.h"
#include "ui/key_marks.h"
#include "ui_test_support.h"

namespace vorlin {
namespace {

struct FakeKey : KeyMarkTarget {
  bool set_hidden = true;
  bool unset_hidden = true;
  bool marked = false;
  bool IsSetMarkHidden() const override { return set_hidden; }
  bool IsUnsetMarkHidden() const override { return unset_hidden; }
  bool IsMarked() const override { return marked; }
  void SetSetMarkHidden(bool v) override { set_hidden = v; }
  void SetUnsetMarkHidden(bool v) override { unset_hidden = v; }
  void SetMarked(bool v) override { marked = v; }
};

// A device picture of eight keys whose assignments a test can change.
class KeyMarksTest : public ::testing::Test {
 protected:
  KeyMarksTest() {
    for (auto& key : keys_) pointers_.push_back(&key);
  }
  KeyUnchangedFn Unchanged() const {
    return [this](int i) { return changed_.count(i) == 0; };
  }
  void Select(int k, MarkStyle style) { UpdateKeyMarks(pointers_, k, style, Unchanged()); }
  std::set<int> Marked() const {
    std::set<int> out;
    for (int i = 0; i < 8; ++i)
      if (keys_[i].marked) out.insert(i);
    return out;
  }

  std::array<FakeKey, 8> keys_;
  std::vector<KeyMarkTarget*> pointers_;
  std::set<int> changed_;
};

TEST_F(KeyMarksTest, SelectingMarksTogglesAndKeepsChangedKeys) {
  Select(3, MarkStyle::kMouse);
  EXPECT_EQ(Marked(), (std::set<int>{3}));
  EXPECT_FALSE(keys_[3].set_hidden);

  Select(3, MarkStyle::kMouse);  // still at its default: the mark goes
  EXPECT_TRUE(Marked().empty());
  EXPECT_TRUE(keys_[3].set_hidden);

  Select(3, MarkStyle::kMouse);
  changed_.insert(3);  // key 3 gets another assignment
  Select(5, MarkStyle::kMouse);
  EXPECT_EQ(Marked(), (std::set<int>{3, 5}));
  EXPECT_FALSE(keys_[3].set_hidden);
  EXPECT_FALSE(keys_[5].set_hidden);

  Select(6, MarkStyle::kMouse);  // unchanged 5 loses its mark, changed 3 keeps it
  EXPECT_EQ(Marked(), (std::set<int>{3, 6}));
  EXPECT_TRUE(keys_[5].set_hidden);
}

TEST_F(KeyMarksTest, MarkFlagDependsOnDeviceKind) {
  struct Case {
    MarkStyle style;
    bool set_hidden;
    bool unset_hidden;
  };
  for (const Case& c :
       {Case{MarkStyle::kMouse, false, true}, Case{MarkStyle::kKeyboard, true, false}}) {
    KeyMarksTest::keys_ = {};
    Select(2, c.style);
    EXPECT_EQ(keys_[2].set_hidden, c.set_hidden);
    EXPECT_EQ(keys_[2].unset_hidden, c.unset_hidden);
    EXPECT_TRUE(keys_[2].marked);
  }
}

TEST_F(KeyMarksTest, AbsentButtonsAndOutOfRangeSelectionAreSkipped) {
  pointers_[4] = nullptr;
  Select(4, MarkStyle::kKeyboard);
  EXPECT_TRUE(Marked().empty());
  Select(1, MarkStyle::kKeyboard);
  Select(99, MarkStyle::kKeyboard);  // no key 99: unchanged key 1 still loses its mark
  EXPECT_TRUE(Marked().empty());
}

TEST_F(KeyMarksTest, ShowChangedKeysShowsOnlyChangedOnes) {
  Select(1, MarkStyle::kKeyboard);
  changed_ = {2, 7};
  for (UnsetMark unset : {UnsetMark::kHide, UnsetMark::kKeep}) {
    keys_[1].unset_hidden = false;
    keys_[1].marked = true;
    ShowChangedKeys(pointers_, Unchanged(), unset);
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(keys_[i].set_hidden, changed_.count(i) == 0) << i;
      EXPECT_FALSE(keys_[i].marked) << i;
    }
    EXPECT_EQ(keys_[1].unset_hidden, unset == UnsetMark::kHide);
  }
}

TEST_F(KeyMarksTest, ClearKeyMarksPerDeviceKind) {
  const auto prime = [this] {
    for (auto& key : keys_) {
      key.set_hidden = false;
      key.unset_hidden = false;
      key.marked = true;
    }
  };
  prime();
  ClearKeyMarks(pointers_, MarkStyle::kKeyboard);
  for (const auto& key : keys_) {
    EXPECT_TRUE(key.set_hidden);
    EXPECT_TRUE(key.unset_hidden);
    EXPECT_FALSE(key.marked);
  }
  prime();
  ClearKeyMarks(pointers_, MarkStyle::kMouse);
  for (const auto& key : keys_) {
    EXPECT_TRUE(key.set_hidden);
    EXPECT_FALSE(key.unset_hidden);
    EXPECT_TRUE(key.marked);  // the mouse keeps the selection mark
  }
}

// The same operations over real key buttons: the overlay that shows is the one of the device kind.
TEST(KeyMarksOnButtonsTest, OverlayOfSelectedAndChangedKeys) {
  std::array<CDeviceKeyButtonUI, 4> mouse;
  std::array<CDeviceKeyButtonUI, 4> keyboard;
  std::vector<KeyMarkTarget*> mouse_keys, keyboard_keys;
  for (int i = 0; i < 4; ++i) {
    mouse_keys.push_back(&mouse[i]);
    keyboard_keys.push_back(&keyboard[i]);
  }
  const KeyUnchangedFn unchanged = [](int i) { return i != 0; };  // key 0 carries a change

  UpdateKeyMarks(mouse_keys, 2, MarkStyle::kMouse, unchanged);
  ShowChangedKeys(mouse_keys, unchanged, UnsetMark::kKeep);
  EXPECT_FALSE(mouse[0].IsSetMarkHidden());  // changed key: "keysetimage"
  EXPECT_TRUE(mouse[0].IsUnsetMarkHidden());

  UpdateKeyMarks(keyboard_keys, 2, MarkStyle::kKeyboard, unchanged);
  EXPECT_FALSE(keyboard[2].IsUnsetMarkHidden());  // selected key: "keyunsetimage"
  EXPECT_TRUE(keyboard[2].IsSetMarkHidden());
  ShowChangedKeys(keyboard_keys, unchanged);
  EXPECT_FALSE(keyboard[0].IsSetMarkHidden());  // changed key: "keysetimage"
  EXPECT_TRUE(keyboard[2].IsUnsetMarkHidden());
  EXPECT_FALSE(keyboard[2].IsMarked());
}

}  // namespace
}  // namespace vorlin
