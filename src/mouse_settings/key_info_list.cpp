#include "mouse_settings/key_info_list.h"

#include <QHBoxLayout>
#include <QListWidgetItem>
#include <QLabel>
#include <QPainter>

#include "ui/controls.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

constexpr char kFunctionLabelName[] = "key_info_function";
constexpr char kButtonLabelName[] = "key_info_label";

// A one-line label that cuts its text with an ellipsis to fit its width.
class ElidedLabel : public QLabel {
 public:
  ElidedLabel(const QString& text, QRgb colour, QWidget* parent) : QLabel(parent), colour_(colour) {
    setText(text);
    setProperty("elide", true);  // a long name is shortened on purpose (the fit test knows)
  }

  QString ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QColor::fromRgba(colour_));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, ShownText());
  }

 private:
  QRgb colour_;
};

QWidget* MakeRow(const KeyInfoRow& entry, QWidget* parent) {
  auto* row = new QWidget(parent);
  row->setMinimumHeight(KeyInfoList::kRowHeight);
  row->setMaximumHeight(KeyInfoList::kRowHeight);
  auto* box = new QHBoxLayout(row);
  box->setContentsMargins(6, 0, 6, 0);
  box->setSpacing(0);
  auto* label = new ElidedLabel(entry.label, KeyInfoList::kLabelColour, row);
  label->setObjectName(QLatin1String(kButtonLabelName));
  label->setMinimumWidth(KeyInfoList::kLabelMinWidth);
  label->setMaximumWidth(KeyInfoList::kLabelWidth);
  auto* function = new ElidedLabel(entry.function_name, KeyInfoList::kFunctionColour, row);
  function->setObjectName(QLatin1String(kFunctionLabelName));
  function->setMinimumWidth(KeyInfoList::kFunctionMinWidth);
  function->setMaximumWidth(KeyInfoList::kFunctionWidth);
  box->addWidget(label);
  box->addWidget(function);
  box->addStretch(1);
  row->setToolTip(entry.function_name);
  return row;
}

}  // namespace

void ShowKeyInfoRows(QListWidget* list, const std::vector<KeyInfoRow>& rows) {
  if (!list) return;
  list->clear();
  const int dpi = WindowDpi(list->window());
  for (const KeyInfoRow& entry : rows) {
    QWidget* row = MakeRow(entry, list);
    // Built at the layout's 96-DPI sizes, then brought to the window's scale.
    if (dpi != 96) ApplyWindowScale(row, dpi);
    AddListRow(list, row);
    QListWidgetItem* item = list->item(list->count() - 1);
    // The row's own size hint ignores its fixed height; the item takes the height it must have.
    item->setSizeHint(QSize(row->minimumSizeHint().width(), row->maximumHeight()));
    item->setHidden(!entry.visible);
    // The view hides a hidden row's widget only at its next layout pass; until then it would lie
    // over its neighbours.
    if (!entry.visible) row->hide();
  }
}

QString KeyInfoFunctionText(const QListWidget* list, int row) {
  const QWidget* widget = ListRow(list, row);
  // Every row's function label is an ElidedLabel (MakeRow).
  const auto* label =
      widget ? widget->findChild<const QLabel*>(QLatin1String(kFunctionLabelName)) : nullptr;
  return label ? static_cast<const ElidedLabel*>(label)->ShownText() : QString();
}

KeyInfoList::KeyInfoList(QWidget* parent) : GrowingList(parent) {
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
}

}  // namespace vorlin
