#include "ui/growing_list.h"

namespace vorlin {

GrowingList::GrowingList(QWidget* parent) : QListWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

// Both hints give the height a layout gives the list at the least: the minimum the layout file sets
// (scaled with the window), else the list's own smallest. A layout takes the larger of the two as
// an item's preferred height, so they must agree. The width stays the list's own.
int GrowingList::Smallest() const {
  return minimumHeight() > 0 ? minimumHeight() : QListWidget::minimumSizeHint().height();
}

QSize GrowingList::sizeHint() const {
  return {QListWidget::sizeHint().width(), Smallest()};
}

QSize GrowingList::minimumSizeHint() const {
  return {QListWidget::minimumSizeHint().width(), Smallest()};
}

}  // namespace vorlin
