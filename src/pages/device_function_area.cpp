#include "pages/device_function_area.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kPlaceholder[] = "_vorlin_placeholder";

QWidget* Placeholder() {
  auto* empty = new QWidget;
  empty->setProperty(kPlaceholder, true);
  empty->setProperty("plain", true);
  return empty;
}

bool IsPanel(const QWidget* page) {
  return page && !page->property(kPlaceholder).toBool();
}

// A panel in a scroll area of its own: never squeezed below the height it asks for now. The
// size policy says so, instead of a height taken once, because what a panel asks for changes
// with the language of its texts and with the scale. Its width is the page's column's.
QScrollArea* Scrolled(QWidget* panel) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName(panel->objectName() + QStringLiteral("_scroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  panel->setSizePolicy(panel->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
  scroll->setWidget(panel);
  return scroll;
}

}  // namespace

DeviceFunctionArea::DeviceFunctionArea(std::span<const FunctionTab> tabs, uint32_t kind,
                                       QWidget* parent)
    : QWidget(parent), tabs_(tabs.begin(), tabs.end()), kind_(kind) {
  setObjectName(QStringLiteral("device_function_area"));
  setProperty("plain", true);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(10);

  strip_ = new QWidget(this);
  strip_->setObjectName(QStringLiteral("device_function_tabs"));
  strip_->setProperty("plain", true);
  strip_box_ = new QGridLayout(strip_);
  strip_box_->setContentsMargins(0, 0, 0, 0);
  strip_box_->setSpacing(6);
  strip_group_ = new QButtonGroup(strip_);
  strip_group_->setExclusive(true);
  for (const FunctionTab& tab : tabs_) {
    auto* option = new QPushButton(strip_);
    option->setObjectName(QString::fromLatin1(tab.name));
    option->setCheckable(true);
    option->setProperty("role", QStringLiteral("toggle"));
    option->setFocusPolicy(Qt::TabFocus);
    Translator::Instance().SetTextKey(option, QString::fromLatin1(tab.text_key));
    strip_group_->addButton(option);
  }
  box->addWidget(strip_);

  function_pages_ = new QStackedWidget(this);
  function_pages_->setObjectName(QStringLiteral("device_function_switch"));
  key_pages_ = new QStackedWidget;
  key_pages_->setObjectName(QStringLiteral("device_key_function_switch"));
  function_pages_->addWidget(key_pages_);
  box->addWidget(function_pages_, 1);
  UpdateStrip();
  WireNotifications(strip_);
}

void DeviceFunctionArea::SetFunctionPage(int index, QWidget* panel) {
  if (index < 1) return;  // page 0 holds the key pages
  PutPage(function_pages_, index, panel);
}

void DeviceFunctionArea::SetKeyPage(int index, QWidget* panel) {
  if (index < 0) return;
  PutPage(key_pages_, index, panel);
}

void DeviceFunctionArea::SetViewPanel(int view, QWidget* panel) {
  const FunctionTabs tabs = FunctionTabsFor(view, kind_);
  if (tabs.function == 0)
    SetKeyPage(tabs.keyFunction, panel);
  else
    SetFunctionPage(tabs.function, panel);
}

void DeviceFunctionArea::PutPage(QStackedWidget* stack, int index, QWidget* panel) {
  while (stack->count() <= index) stack->addWidget(Placeholder());
  QWidget* old = stack->widget(index);
  stack->insertWidget(index, Scrolled(panel));
  stack->removeWidget(old);
  delete old;
  UpdateStrip();
}

QWidget* DeviceFunctionArea::Page(const FunctionTabs& tabs) const {
  if (tabs.function != 0) {
    QWidget* page = function_pages_->widget(tabs.function);
    return IsPanel(page) ? page : nullptr;
  }
  const int key_page = tabs.keyFunction >= 0 ? tabs.keyFunction : key_pages_->currentIndex();
  QWidget* page = key_pages_->widget(key_page);
  return IsPanel(page) ? page : nullptr;
}

bool DeviceFunctionArea::HasView(int view) const {
  return Page(FunctionTabsFor(view, kind_)) != nullptr;
}

int DeviceFunctionArea::ViewOfTab(const QString& name) const {
  for (const FunctionTab& tab : tabs_) {
    if (name == QLatin1StringView(tab.name)) return tab.view;
  }
  return -1;
}

void DeviceFunctionArea::ShowView(int view) {
  const FunctionTabs tabs = FunctionTabsFor(view, kind_);
  if (tabs.function < function_pages_->count()) function_pages_->setCurrentIndex(tabs.function);
  if (tabs.keyFunction >= 0 && tabs.keyFunction < key_pages_->count())
    key_pages_->setCurrentIndex(tabs.keyFunction);
  const NotificationBlocker quiet;  // checking the tab is not the user choosing it
  for (QAbstractButton* option : strip_group_->buttons()) {
    if (ViewOfTab(option->objectName()) == view) option->setChecked(true);
  }
}

int StripColumns(int tabs) {
  return tabs <= kTabsInOneRow ? tabs : (tabs + 1) / 2;
}

void DeviceFunctionArea::UpdateStrip() {
  std::vector<QAbstractButton*> offered;
  for (QAbstractButton* option : strip_group_->buttons()) {
    const bool has = HasView(ViewOfTab(option->objectName()));
    option->setVisible(has);
    strip_box_->removeWidget(option);
    if (has) offered.push_back(option);
  }
  // The column has one width on every page: more tabs than fit in one row go into two, in
  // columns of equal width.
  const int columns = StripColumns(static_cast<int>(offered.size()));
  for (int column = 0; column < strip_box_->columnCount(); ++column)
    strip_box_->setColumnStretch(column, column < columns ? 1 : 0);
  for (size_t i = 0; i < offered.size(); ++i) {
    const int index = static_cast<int>(i);
    strip_box_->addWidget(offered[i], index / columns, index % columns);
  }
  strip_->setVisible(offered.size() > 1);
}

}  // namespace vorlin
