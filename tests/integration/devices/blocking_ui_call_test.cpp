// A worker hands a call to the UI thread and waits for it: the call has run, on that thread, when
// the wait ends; a stop ends the wait without the call.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include "devices/blocking_ui_call.h"
#include "devices/mailbox.h"
#include "platform/stop_event.h"

namespace vorlin {
namespace {

struct WorkerCall {
  std::atomic<bool> finished{false};
  BlockingCallResult result = BlockingCallResult::kContextGone;
  std::thread thread;

  void Start(Mailbox& mailbox, std::function<void()> function, const StopEvent& abort) {
    thread = std::thread([this, &mailbox, function = std::move(function), &abort] {
      result = BlockingUiCall(mailbox, function, abort);
      finished.store(true);
    });
  }
  BlockingCallResult Join() {
    thread.join();
    return result;
  }
};

TEST(BlockingUiCallTest, WaitEndsAfterTheCallRanOnTheMailboxThread) {
  QObject owner;
  auto* mailbox = new Mailbox(&owner);
  StopEvent abort;
  std::atomic<bool> ranOnUiThread{false};
  int written = 0;  // plain: the worker reads it after the wait, which must order the two
  WorkerCall call;
  call.Start(
      *mailbox,
      [&] {
        ranOnUiThread.store(QThread::currentThread() == QCoreApplication::instance()->thread());
        written = 42;
      },
      abort);
  // Until this thread handles its events, the worker is still waiting.
  QThread::msleep(30);
  EXPECT_FALSE(call.finished.load());
  ASSERT_TRUE(QTest::qWaitFor([&] { return call.finished.load(); }, 5000));
  EXPECT_EQ(call.Join(), BlockingCallResult::kRan);
  EXPECT_TRUE(ranOnUiThread.load());
  EXPECT_EQ(written, 42);
}

TEST(BlockingUiCallTest, StopEndsTheWaitAndTheCallNeverRuns) {
  QObject owner;
  auto* mailbox = new Mailbox(&owner);
  StopEvent abort;
  bool ran = false;
  WorkerCall call;
  call.Start(*mailbox, [&] { ran = true; }, abort);
  abort.Set();
  EXPECT_EQ(call.Join(), BlockingCallResult::kAborted);
  QCoreApplication::processEvents();  // the call's turn comes, and it is dropped
  EXPECT_FALSE(ran);
}

TEST(BlockingUiCallTest, OnTheMailboxThreadTheCallRunsAtOnce) {
  QObject owner;
  Mailbox mailbox(&owner);
  StopEvent abort;
  bool ran = false;
  EXPECT_EQ(BlockingUiCall(mailbox, [&] { ran = true; }, abort), BlockingCallResult::kRan);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace vorlin
