#pragma once

// Work handed from any thread to the thread of the mailbox's owner. The work waits in a queue
// under a lock of its own, and the owner's thread is woken by a queued call that carries nothing:
// every piece of data that crosses threads goes through that lock, which ThreadSanitizer sees
// (Qt's own event queue is guarded by locks the sanitizer cannot see through).
//
// The mailbox lives on its owner's thread (as the owner's child it moves with it). Whoever posts
// must stop before the mailbox goes.

#include <functional>
#include <mutex>
#include <vector>

#include <QObject>

namespace vorlin {

class Mailbox : public QObject {
  Q_OBJECT

 public:
  explicit Mailbox(QObject* owner);

  // Any thread: `work` runs on the owner's thread, after what was posted before it.
  void Post(std::function<void()> work);
  // On the owner's thread: runs `work` now, or posts it from any other thread.
  void RunOrPost(std::function<void()> work);

  // The owner's thread: runs what is waiting (the queued wake-up calls it).
  Q_INVOKABLE void Drain();

 private:
  std::mutex mutex_;
  std::vector<std::function<void()>> queue_;
  bool wake_posted_ = false;
};

}  // namespace vorlin
