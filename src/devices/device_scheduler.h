#pragma once

// The timers that drive a device object from the UI thread. Each is one-shot: a handler re-arms
// its own timer when the rules below say so.
//
//   1000 frame      shows the frame (OutputFrame) and repaints the picture while the device's
//                   option is selected and the window active; again after 10 ms by cable,
//                   50 ms through the receiver, as long as the link is open and the frame is
//                   wanted (a hidden page rests until it is shown again).
//   1001 start-up   armed when an interface is bound or the cable takes over (50 ms). Through the
//                   receiver the device must answer first (ProbeLink): if it does not, its option
//                   is hidden and the timer tries again after 2000 ms. Then ReadDeviceState, and
//                   the status (1005), link watch (1007) and frame (1000) timers are started.
//   1002 resync     ResyncFromDevice, armed by the event readers.
//   1005 status     PollStatus, again every 3000 ms while the device has a status panel.
//   1007 link watch through the receiver, every 3000 ms: shows the option when the device
//                   answers again, hides it when it stops answering.

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
  virtual bool OptionShown() const = 0;
  virtual bool OptionSelected() const = 0;
  virtual bool WindowActive() const = 0;
  // Whether the frame is wanted (the page can be seen, or the device takes the frame itself).
  virtual bool NeedsFrames() const = 0;
  // Asks the main window to show or hide the device's option.
  virtual void RequestOption(bool show) = 0;
  virtual int ProbeLink() = 0;
  virtual void ReadDeviceState() = 0;
  virtual void ResyncFromDevice() = 0;
  virtual void PollStatus() = 0;
  virtual void OutputFrame() = 0;
  virtual void RepaintPicture() = 0;
};

class DeviceScheduler : public QObject {
  Q_OBJECT

 public:
  enum TimerId { kFrame = 1000, kStartUp = 1001, kResync = 1002, kStatus = 1005, kLinkWatch = 1007 };
  static constexpr int kStartUpDelayMs = 50;
  static constexpr int kStartUpRetryMs = 2000;
  static constexpr int kCableFrameMs = 10;
  static constexpr int kReceiverFrameMs = 50;
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
  void OnFrame();
  void OnStartUp();
  void OnStatus();
  void OnLinkWatch();

 private:
  QTimer& TimerOf(TimerId id);
  const QTimer& TimerOf(TimerId id) const;
  int FramePeriod() const;

  ScheduledDevice& device_;
  QTimer frame_, start_up_, resync_, status_, link_watch_;
};

}  // namespace vorlin
