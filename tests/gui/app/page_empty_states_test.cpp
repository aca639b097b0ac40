// What the mouse page says before the user has chosen anything: the buttons tab asks for a click
// on the picture and then names the button it changes; the macro tab, while there is no macro,
// says how to make one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "key_set/key_set_control_ui.h"
#include "macro/macro_control_ui.h"
#include "mouse_fixture.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "ui/find_control.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

class PageEmptyStatesTest : public test::MouseFixture {
 protected:
  bool DeviceThreads() const override { return true; }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    return FindControl<T>(page_, QString::fromLatin1(name));
  }
  static QString Text(const char* key) {
    return Translator::Instance().Text(QString::fromLatin1(key));
  }
};

TEST_F(PageEmptyStatesTest, TheButtonsTabAsksForAClickAndThenNamesTheButton) {
  page_->SetFunctionView(kKeysView);
  auto* hint = Control<QLabel>("keyset_pick_hint");
  auto* chosen = Control<QLabel>("keyset_chosen_label");
  ASSERT_NE(hint, nullptr);
  ASSERT_NE(chosen, nullptr);
  ASSERT_NE(Text("keyset_pick_hint_text"), QStringLiteral("keyset_pick_hint_text"));
  EXPECT_EQ(hint->text(), Text("keyset_pick_hint_text"));
  EXPECT_FALSE(hint->isHidden());
  EXPECT_TRUE(chosen->isHidden());

  struct Case {
    const char* key;
    const char* name;  // the button's text key
  };
  for (const Case& c : {Case{"key_3", "mouse_key_forward"}, Case{"key_1", "mouse_key_right"}}) {
    SCOPED_TRACE(c.key);
    auto* button = Control<QAbstractButton>(c.key);
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_FALSE(chosen->isHidden());
    EXPECT_TRUE(hint->isHidden());
    EXPECT_EQ(chosen->text(), Text("keyset_chosen_text").arg(Text(c.name)));
    EXPECT_TRUE(chosen->text().contains(Text(c.name)));
  }
}

TEST_F(PageEmptyStatesTest, TheMacroTabSaysHowToMakeAMacroWhileThereIsNone) {
  page_->SetFunctionView(kMacrosView);
  CMacroControlUI* macros = page_->Mouse()->MacroPanel();
  ASSERT_NE(macros, nullptr);
  ASSERT_EQ(macros->Library().Count(), 0);
  auto* hint = Control<QLabel>("macro_empty_hint");
  ASSERT_NE(hint, nullptr);
  EXPECT_FALSE(hint->isHidden());
  EXPECT_EQ(hint->text(), Text("macro_empty_hint_text"));
  // It names the button that makes one, in the same words.
  EXPECT_TRUE(hint->text().contains(Text("macro_add_text")));

  ASSERT_EQ(macros->NewMacro(), MacroLibrary::Status::kOk);
  EXPECT_TRUE(hint->isHidden());
}

}  // namespace
}  // namespace vorlin
