#include "devices/mailbox.h"

#include <QMetaObject>
#include <QThread>

namespace vorlin {

Mailbox::Mailbox(QObject* owner) : QObject(owner) {}

void Mailbox::Post(std::function<void()> work) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
    wake = !wake_posted_;
    wake_posted_ = true;
  }
  // The wake-up names the method: nothing of ours travels inside Qt's event.
  if (wake) QMetaObject::invokeMethod(this, "Drain", Qt::QueuedConnection);
}

void Mailbox::RunOrPost(std::function<void()> work) {
  if (thread() == QThread::currentThread()) {
    work();
  } else {
    Post(std::move(work));
  }
}

void Mailbox::Drain() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(mutex_);
    work.swap(queue_);
    wake_posted_ = false;
  }
  for (std::function<void()>& each : work) each();
}

}  // namespace vorlin
