#include "devices/device_thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
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
  QMetaObject::invokeMethod(
      device,
      [device, owner] {
        device->Shutdown();
        device->moveToThread(owner);
        QThread::currentThread()->quit();
      },
      Qt::QueuedConnection);
  thread_->wait();
  thread_.reset();
  if (waited.elapsed() > 1000)
    qCWarning(lcVorlin) << "the" << device_->Product().dataName.c_str() << "took" << waited.elapsed()
                        << "ms to stop";
}

}  // namespace vorlin
