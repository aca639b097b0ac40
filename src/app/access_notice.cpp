#include "app/access_notice.h"

#include <QLabel>

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
  if (label_) label_->setVisible(false);
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
}

}  // namespace vorlin
