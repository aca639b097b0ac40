// Requests that name a control of a panel never shown: the mouse's panels are built when first
// shown, and a request must not depend on which tabs were opened before it. Each case starts the
// program anew, with no panel built.
#include <gtest/gtest.h>

#include <QJsonObject>

#include "app/main_window.h"
#include "automation_fixture.h"
#include "pages/device_page.h"
#include "pages/function_view.h"
#include "pages/mouse_panels.h"
#include "ui/find_control.h"

namespace vorlin::test {
namespace {

struct LookupCase {
  const char* line;
  int view;             // the panel the control is on
  const char* control;  // the control the request needs
  const char* error;    // a part of the error, or null when the request succeeds
};

class AutomationLookupTest : public AutomationTest,
                             public ::testing::WithParamInterface<LookupCase> {
 protected:
  DevicePage* MousePage() const {
    for (DevicePage* page : session_->MainWindow()->Window()->findChildren<DevicePage*>()) {
      if (page->Product().dataName == "mouse") return page;
    }
    return nullptr;
  }
};

TEST_P(AutomationLookupTest, AControlOfAPanelNeverShownIsFound) {
  const LookupCase& c = GetParam();
  DevicePage* mouse = MousePage();
  ASSERT_TRUE(mouse && mouse->Mouse());
  ASSERT_FALSE(mouse->Mouse()->Built(c.view));
  ASSERT_EQ(FindControl(mouse, QString::fromLatin1(c.control)), nullptr);
  const QJsonObject reply = Ask(c.line);
  if (c.error) {
    EXPECT_FALSE(reply.value("ok").toBool());
    EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String(c.error))) << ErrorOf(reply).toStdString();
  } else {
    EXPECT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  }
  EXPECT_TRUE(mouse->Mouse()->Built(c.view));
  EXPECT_NE(FindControl(mouse, QString::fromLatin1(c.control)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, AutomationLookupTest,
    ::testing::Values(
        LookupCase{R"({"op":"state","page":"mouse","control":"DPI_edit_1"})", kSettingsView,
                   "DPI_edit_1", nullptr},
        LookupCase{R"({"op":"state","control":"shootdate_save_btn"})", kRecoilView,
                   "shootdate_save_btn", nullptr},
        // The list is found; its row has no such control.
        LookupCase{
            R"({"op":"state","page":"mouse","list":"device_setkeyinfo_list","row":0,"control":"x"})",
            kKeysView, "device_setkeyinfo_list", "no control named \"x\" in row 0"},
        // A name no panel has is still missing once every panel is built.
        LookupCase{R"({"op":"state","page":"mouse","control":"nothing"})", kMacrosView,
                   "macro_name_list", "no control named \"nothing\" on page"},
        LookupCase{R"({"op":"state","control":"nothing"})", kPointerView, "mouse_pointer_card",
                   "no control named \"nothing\""}));

}  // namespace
}  // namespace vorlin::test
