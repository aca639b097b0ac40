#pragma once

// The no-device screen's word on supported devices the program sees but cannot open: which node,
// why, and the commands that install the udev rule (access_advice.h). While the screen shows, the
// nodes are looked at again every few seconds, so that the notice goes once the user has installed
// the rule (the discovery scanner then opens the device by itself).

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QTimer>

#include "hid/node_access.h"

class QLabel;

namespace vorlin {

class AccessNotice : public QObject {
  Q_OBJECT

 public:
  using ProblemFinder = std::function<std::vector<NodeAccessProblem>()>;

  // `label` shows the advice and is hidden when there is none.
  explicit AccessNotice(QLabel* label, ProblemFinder find_problems,
                        std::chrono::milliseconds interval = std::chrono::seconds(3),
                        QObject* parent = nullptr);
  // This machine's supported hidraw nodes that cannot be opened, for the program's catalogue.
  static ProblemFinder SystemProblemFinder();

  // Looks at the nodes now and, while `watching` (the no-device screen shows), every interval.
  void SetWatching(bool watching);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refresh();
  void FitHeight();

  QPointer<QLabel> label_;
  ProblemFinder find_problems_;
  std::optional<std::vector<NodeAccessProblem>> problems_;  // as last shown
  QTimer timer_;
};

}  // namespace vorlin
