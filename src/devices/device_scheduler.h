#pragma once

// The timers that drive a device object on its own thread. Each is one-shot: a handler re-arms
// its own timer when the rules below say so.
//
//   1001 start-up   armed when an interface is bound or the cable takes over (50 ms). Through the
//                   receiver the device must answer first (ProbeLink): if it does not, its option
//                   is hidden and the timer tries again after 2000 ms. Then ReadDeviceState, and
//                   the status (1005) and link watch (1007) timers are started.
//   1002 resync     ResyncFromDevice, armed by the event readers.
//   1005 status     PollStatus, again every 3000 ms while the device has a status panel.
//   1007 link watch through the receiver, every 3000 ms: shows the option when the device
//                   answers again, hides it when it stops answering.
//
// The timers are children of the scheduler, so they move with the device object to its thread.
// (The page paints the preview frame with a timer of its own.)

#include <QObject>
#include <QTimer>

namespace vorlin {

// What the timers call on the device.
class ScheduledDevice {
 public:
  virtual ~ScheduledDevice() = default;
  virtual bool LinkOpen() const = 0;
  virtual bool OnReceiver() const = 0;
  virtual bool HasStatusPanel() const = 0;
  // Whether the device's option counts as shown (the device asked for it last).
  virtual bool OptionShown() const = 0;
  // Asks for the device's option to be shown or hidden.
  virtual void RequestOption(bool show) = 0;
  virtual int ProbeLink() = 0;
  virtual void ReadDeviceState() = 0;
  virtual void ResyncFromDevice() = 0;
  virtual void PollStatus() = 0;
};

class DeviceScheduler : public QObject {
  Q_OBJECT

 public:
  enum TimerId { kStartUp = 1001, kResync = 1002, kStatus = 1005, kLinkWatch = 1007 };
  static constexpr int kStartUpDelayMs = 50;
  static constexpr int kStartUpRetryMs = 2000;
  static constexpr int kStatusFirstMs = 50;
  static constexpr int kStatusPeriodMs = 3000;
  static constexpr int kLinkWatchFirstMs = 2000;
  static constexpr int kLinkWatchPeriodMs = 3000;

  explicit DeviceScheduler(ScheduledDevice& device, QObject* parent = nullptr);

  // Arms `id` after `delayMs`, replacing a pending schedule.
  void Start(TimerId id, int delayMs);
  void Kill(TimerId id);
  bool Pending(TimerId id) const;
  void KillAll();

  // The handlers, public so that a test can run one step at a time.
  void OnStartUp();
  void OnStatus();
  void OnLinkWatch();

 private:
  QTimer* TimerOf(TimerId id) const;

  ScheduledDevice& device_;
  QTimer* start_up_;
  QTimer* resync_;
  QTimer* status_;
  QTimer* link_watch_;
};

}  // namespace vorlin
