#include "app/access_notice.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>

#include "app/access_advice.h"
#include "catalogue/extra_product_ids.h"
#include "catalogue/product_catalogue.h"
#include "ui/translator.h"

namespace vorlin {

AccessNotice::AccessNotice(QLabel* label, ProblemFinder find_problems,
                           std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), label_(label), find_problems_(std::move(find_problems)) {
  timer_.setInterval(interval);
  connect(&timer_, &QTimer::timeout, this, &AccessNotice::Refresh);
  connect(&Translator::Instance(), &Translator::LanguageChanged, this, [this] {
    problems_.reset();  // the same problems in the new language's words
    if (timer_.isActive()) Refresh();
  });
  if (label_) {
    label_->setVisible(false);
    label_->installEventFilter(this);
  }
}

bool AccessNotice::eventFilter(QObject* watched, QEvent* event) {
  // The style sheet's font reaches the label when it is first shown.
  const QEvent::Type type = event->type();
  if (watched == label_ && (type == QEvent::Show || type == QEvent::FontChange ||
                            type == QEvent::StyleChange)) {
    FitHeight();
  }
  return QObject::eventFilter(watched, event);
}

void AccessNotice::FitHeight() {
  // The no-device card has a fixed width and is centred in its page; a centred item is given the
  // height of its size hint, which for wrapped text assumes another width. The label therefore
  // takes the height its text needs at the card's inner width.
  label_->ensurePolished();
  int width = label_->width();
  if (QWidget* card = label_->parentWidget(); card && card->maximumWidth() < QWIDGETSIZE_MAX) {
    const QMargins margins = card->layout() ? card->layout()->contentsMargins() : QMargins();
    width = card->maximumWidth() - margins.left() - margins.right();
  }
  const int height = label_->heightForWidth(width);
  if (height > 0) label_->setFixedHeight(height);
}

AccessNotice::ProblemFinder AccessNotice::SystemProblemFinder() {
  return [rows = ProgramCatalogue().InterfaceRows()] { return FindUnopenableHidrawNodes(rows); };
}

void AccessNotice::SetWatching(bool watching) {
  if (!watching) {
    timer_.stop();
    return;
  }
  if (!timer_.isActive()) {
    Refresh();
    timer_.start();
  }
}

void AccessNotice::Refresh() {
  if (!label_) return;
  std::vector<NodeAccessProblem> problems = find_problems_();
  if (problems == problems_) return;
  problems_ = std::move(problems);
  const QString text = AccessAdviceText(*problems_, FindUdevRule(), [](const QString& key) {
    return Translator::Instance().Text(key);
  });
  label_->setText(text);
  label_->setVisible(!text.isEmpty());
  FitHeight();
}

}  // namespace vorlin
