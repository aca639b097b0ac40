#include "pages/device_function_area.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <utility>

#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kPlaceholder[] = "_vorlin_placeholder";
// On the placeholder of a view offered and not built yet: the view's code.
constexpr char kPendingView[] = "_vorlin_pending_view";

QWidget* Placeholder() {
  auto* empty = new QWidget;
  empty->setProperty(kPlaceholder, true);
  empty->setProperty("plain", true);
  return empty;
}

bool IsPanel(const QWidget* page) {
  return page && !page->property(kPlaceholder).toBool();
}

bool IsPending(const QWidget* page) {
  return page && page->property(kPendingView).isValid();
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
  for (QStackedWidget* stack : {function_pages_, key_pages_}) {
    connect(stack, &QStackedWidget::currentChanged, this,
            [this, stack](int index) { OnPageTurned(stack, index); });
  }
}

void DeviceFunctionArea::SetFunctionPage(int index, QWidget* panel) {
  if (index < 1) return;  // page 0 holds the key pages
  PutPage(function_pages_, index, Scrolled(panel));
}

void DeviceFunctionArea::SetKeyPage(int index, QWidget* panel) {
  if (index < 0) return;
  PutPage(key_pages_, index, Scrolled(panel));
}

void DeviceFunctionArea::SetViewPanel(int view, QWidget* panel) {
  const FunctionTabs tabs = FunctionTabsFor(view, kind_);
  if (tabs.function == 0)
    SetKeyPage(tabs.keyFunction, panel);
  else
    SetFunctionPage(tabs.function, panel);
}

std::pair<QStackedWidget*, int> DeviceFunctionArea::Place(int view) const {
  const FunctionTabs tabs = FunctionTabsFor(view, kind_);
  if (tabs.function != 0) return {function_pages_, tabs.function};
  return {key_pages_, tabs.keyFunction >= 0 ? tabs.keyFunction : key_pages_->currentIndex()};
}

DeviceFunctionArea::~DeviceFunctionArea() {
  // The stacks turn while their pages are deleted: nothing is built then.
  for (QStackedWidget* stack : {function_pages_, key_pages_})
    disconnect(stack, nullptr, this, nullptr);
}

void DeviceFunctionArea::SetViewBuilder(int view, QObject* context, std::function<void()> build) {
  const auto [stack, index] = Place(view);
  if (index < 0 || (stack == function_pages_ && index < 1) || !build || !context) return;
  QWidget* pending = Placeholder();
  pending->setProperty(kPendingView, view);
  PutPage(stack, index, pending);
  builders_[view] = Builder{context, std::move(build)};
}

void DeviceFunctionArea::PutPage(QStackedWidget* stack, int index, QWidget* page) {
  // The stack turns while its pages are swapped; that is not the user choosing a page.
  const bool was_putting = std::exchange(putting_, true);
  while (stack->count() <= index) stack->addWidget(Placeholder());
  QWidget* old = stack->widget(index);
  const bool current = stack->currentWidget() == old;
  stack->insertWidget(index, page);
  stack->removeWidget(old);
  if (current) stack->setCurrentIndex(index);
  if (IsPending(old)) {
    // Built late: its builder is done, and the window was scaled before the panel existed.
    builders_.erase(old->property(kPendingView).toInt());
    if (const int dpi = WindowDpi(window()); dpi != 96)
      ApplyScaleFactor(page, ScaleFactorForDpi(dpi));
  }
  delete old;
  putting_ = was_putting;
  UpdateStrip();
}

void DeviceFunctionArea::OnPageTurned(QStackedWidget* stack, int index) {
  if (putting_) return;
  const QWidget* page = stack->widget(index);
  if (IsPending(page)) BuildView(page->property(kPendingView).toInt());
}

bool DeviceFunctionArea::ViewPending(int view) const {
  return builders_.contains(view);
}

void DeviceFunctionArea::BuildView(int view) {
  const auto found = builders_.find(view);
  if (found == builders_.end()) return;
  const Builder builder = std::move(found->second);
  builders_.erase(found);
  if (builder.context) builder.build();
  const auto [stack, index] = Place(view);
  if (IsPending(stack->widget(index))) {
    // The builder put nothing: the view has no panel.
    PutPage(stack, index, Placeholder());
  }
}

void DeviceFunctionArea::BuildAllViews() {
  while (!builders_.empty()) BuildView(builders_.begin()->first);
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
  // A view offered and not built yet has its tab too.
  const QWidget* page = Page(FunctionTabsFor(view, kind_));
  const auto [stack, index] = Place(view);
  return page != nullptr || IsPending(stack->widget(index));
}

int DeviceFunctionArea::ViewOfTab(const QString& name) const {
  for (const FunctionTab& tab : tabs_) {
    if (name == QLatin1StringView(tab.name)) return tab.view;
  }
  return -1;
}

void DeviceFunctionArea::ShowView(int view) {
  BuildView(view);
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
