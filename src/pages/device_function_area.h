#pragma once

// The function area of a device page: a strip of tabs ("deng_Op_tab", "key_Op_tab", ...) above
// two nested tab layouts. "device_function_switch" holds the function pages (0: the key pages,
// 1: macros, 2: pointer, 3: settings, 4: recoil); its page 0 is "device_key_function_switch"
// (0: lighting, 1: key assignment, 2: a device's third panel). Each panel sits in a scroll area of
// its own, so a panel taller than the window scrolls instead of being squeezed.
//
// A tab shows only when its panel is on the page; a page with a single tab shows no strip. Up to
// kTabsInOneRow tabs share one row; more go into two rows.
//
// A panel may be offered before it is built (SetViewBuilder): its tab shows at once, and the panel
// is built the first time its page becomes the current one of its stack (its tab chosen, ShowView,
// or anything else that turns the stack to it) or when BuildView asks for it. Building what is not
// seen only when it is first seen keeps the window's start short.

#include <functional>
#include <map>
#include <span>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "pages/function_view.h"

class QButtonGroup;
class QGridLayout;
class QStackedWidget;

namespace vorlin {

inline constexpr int kTabsInOneRow = 4;
// The columns of the tab strip for `tabs` tabs.
int StripColumns(int tabs);

class DeviceFunctionArea : public QWidget {
  Q_OBJECT

 public:
  DeviceFunctionArea(std::span<const FunctionTab> tabs, uint32_t kind, QWidget* parent = nullptr);
  ~DeviceFunctionArea() override;

  // Puts `panel` on function page `index` (1 and above) or key page `index` of function page 0.
  // The area takes ownership; a panel already there is replaced.
  void SetFunctionPage(int index, QWidget* panel);
  void SetKeyPage(int index, QWidget* panel);
  // Puts `panel` where view `view` shows it (a key page or a function page).
  void SetViewPanel(int view, QWidget* panel);
  // Offers view `view` now and builds its panel later: `build` must put the panel with
  // SetViewPanel (or SetFunctionPage / SetKeyPage). It runs at most once, and only while
  // `context` exists; a builder that puts nothing leaves the view without a panel (its tab goes).
  void SetViewBuilder(int view, QObject* context, std::function<void()> build);
  // Builds the panel of `view` now if it was offered and not built yet.
  void BuildView(int view);
  // Builds every panel offered and not built yet.
  void BuildAllViews();
  // Whether the panel of `view` waits to be built; whether any does.
  bool ViewPending(int view) const;
  bool AnyViewPending() const { return !builders_.empty(); }

  // Shows the pages of a view and checks its tab.
  void ShowView(int view);
  // The view code of the tab option `name`; -1 when it is not one of this area's tabs.
  int ViewOfTab(const QString& name) const;
  // Whether the panel of `view` is on the page (its tab is offered).
  bool HasView(int view) const;

  QStackedWidget* FunctionPages() const { return function_pages_; }
  QStackedWidget* KeyPages() const { return key_pages_; }

 private:
  QWidget* Page(const FunctionTabs& tabs) const;
  // The stack and index where `view` shows its panel.
  std::pair<QStackedWidget*, int> Place(int view) const;
  // Puts `page` (a panel in its scroll area, or a placeholder) at `index` of `stack`.
  void PutPage(QStackedWidget* stack, int index, QWidget* page);
  // The stack turned to `index`: a panel offered there is built now.
  void OnPageTurned(QStackedWidget* stack, int index);
  void UpdateStrip();

  std::vector<FunctionTab> tabs_;
  uint32_t kind_;
  QWidget* strip_ = nullptr;
  QGridLayout* strip_box_ = nullptr;
  QButtonGroup* strip_group_ = nullptr;
  QStackedWidget* function_pages_ = nullptr;
  QStackedWidget* key_pages_ = nullptr;
  // The builders of the views offered and not built yet, each with what it works for.
  struct Builder {
    QPointer<QObject> context;
    std::function<void()> build;
  };
  std::map<int, Builder> builders_;
  // Set while a page is put: the stacks turn then without the user turning them.
  bool putting_ = false;
};

}  // namespace vorlin
