#include "devices/device_thread.h"

#include <condition_variable>
#include <mutex>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "devices/usb_device.h"
#include "hid/device_link.h"
#include "platform/log.h"

namespace vorlin {

DeviceThread::DeviceThread(std::unique_ptr<CHalvexUSBDevice> device)
    : device_(std::move(device)), thread_(std::make_unique<QThread>()) {
  thread_->setObjectName(QString::fromStdString(device_->Product().dataName + " device"));
  device_->moveToThread(thread_.get());
  thread_->start();
}

DeviceThread::~DeviceThread() {
  Stop();
}

namespace {

// The device thread's last word before it ends: the device is back on the stopping thread.
struct HandBack {
  std::mutex mutex;
  std::condition_variable doneChanged;
  bool done = false;
};

}  // namespace

void DeviceThread::Stop() {
  if (!thread_) return;
  QElapsedTimer waited;
  waited.start();
  // An exchange in progress ends at once: its interface is closed under it.
  DeviceLink& link = device_->Link();
  link.open.store(false);
  link.WiredInterface().Close();
  link.ReceiverInterface().Close();
  QThread* owner = QThread::currentThread();
  CHalvexUSBDevice* device = device_.get();
  HandBack handBack;
  device->Post([device, owner, &handBack] {
    device->Shutdown();
    device->moveToThread(owner);
    QThread::currentThread()->quit();
    std::lock_guard lock(handBack.mutex);
    handBack.done = true;
    handBack.doneChanged.notify_one();
  });
  // The hand-back orders what the device thread did before it with what this thread does next (a
  // thread that has already ended lets wait() return through a lock the sanitizer cannot see).
  {
    std::unique_lock lock(handBack.mutex);
    handBack.doneChanged.wait(lock, [&handBack] { return handBack.done; });
  }
  thread_->wait();
  thread_.reset();
  if (waited.elapsed() > 1000)
    qCWarning(lcVorlin) << "the" << device_->Product().dataName.c_str() << "took" << waited.elapsed()
                        << "ms to stop";
}

}  // namespace vorlin
