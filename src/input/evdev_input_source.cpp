#include "input/evdev_input_source.h"

#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include <QMetaObject>
#include <QStringList>

#include "input/hook_messages.h"
#include "input/input_event_mapping.h"
#include "platform/log.h"
#include "platform/stop_event.h"

namespace vorlin {
namespace {

using Clock = std::chrono::steady_clock;

// The sink of one capture. Queued calls hold it weakly: once the capture is stopped they find it
// gone and deliver nothing.
struct Delivery {
  InputSink sink;
  std::atomic<uint64_t> handled{0};  // events the UI thread has taken
};

uint32_t TimeMs(const input_event& event) {
  return static_cast<uint32_t>(static_cast<uint64_t>(event.input_event_sec) * 1000u +
                               static_cast<uint64_t>(event.input_event_usec) / 1000u);
}

bool WriteEvents(int fd, std::initializer_list<std::pair<uint16_t, std::pair<uint16_t, int32_t>>> events) {
  std::vector<input_event> records;
  for (const auto& [type, code_value] : events) {
    input_event record{};
    record.type = type;
    record.code = code_value.first;
    record.value = code_value.second;
    records.push_back(record);
  }
  const auto size = static_cast<ssize_t>(records.size() * sizeof(input_event));
  return ::write(fd, records.data(), static_cast<size_t>(size)) == size;
}

// Reads drain a descriptor until it has nothing more; they must never block the reader.
void SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0 && !(flags & O_NONBLOCK)) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

QString Names(const std::vector<OpenedInputDevice>& devices, bool keyboards) {
  QStringList names;
  for (const auto& device : devices) {
    const bool match = keyboards ? device.kind().keyboard : device.kind().mouse;
    if (match) names << QString::fromStdString(device.name());
  }
  return QStringLiteral("%1 (%2)").arg(names.size()).arg(names.join(QStringLiteral(", ")));
}

}  // namespace

struct EvdevInputSource::Run {
  CaptureRequest request;
  std::vector<OpenedInputDevice> devices;
  std::shared_ptr<EvdevOps> ops;
  std::function<void(std::function<void()>)> post;
  std::chrono::milliseconds idle_release{0};
  std::shared_ptr<Delivery> delivery = std::make_shared<Delivery>();
  StopEvent stop;
  StopEvent finished;
  std::atomic<bool> grabbed{false};
  std::thread thread;

  void Body();
};

namespace {

// The reader's view of one device.
struct Reader {
  explicit Reader(OpenedInputDevice* d) : device(d) {}
  OpenedInputDevice* device;
  bool grabbed = false;
  bool alive = true;
  std::vector<char> pending;  // the start of a record cut off by the last read
  int32_t dx = 0, dy = 0;     // motion since the last report
};

class ReadLoop {
 public:
  explicit ReadLoop(EvdevInputSource::Run& run) : run_(run) {
    for (auto& device : run_.devices) {
      SetNonBlocking(device.fd());
      readers_.emplace_back(&device);
    }
  }

  void Execute() {
    Grab();
    last_input_ = last_progress_ = Clock::now();
    while (true) {
      std::vector<pollfd> fds;
      fds.push_back({run_.stop.Fd(), POLLIN, 0});
      std::vector<Reader*> polled;
      for (auto& reader : readers_) {
        if (!reader.alive) continue;
        fds.push_back({reader.device->fd(), POLLIN, 0});
        polled.push_back(&reader);
      }
      const bool with_pass_through = pass_through_ >= 0;
      if (with_pass_through) fds.push_back({pass_through_, POLLIN, 0});

      const int ready = ::poll(fds.data(), fds.size(), Timeout());
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0) {
        qCWarning(lcVorlin).noquote() << "input capture: poll failed:" << std::strerror(errno);
        break;
      }
      if (fds[0].revents) break;
      const auto now = Clock::now();
      // Delivered events all handled: the UI thread keeps up. Checked before this round's events
      // are posted, so that time spent asleep never counts against it.
      const uint64_t handled = run_.delivery->handled.load(std::memory_order_relaxed);
      if (handled != last_handled_ || handled == posted_) last_progress_ = now;
      last_handled_ = handled;
      for (size_t i = 0; i < polled.size(); ++i) {
        if (fds[i + 1].revents) ReadDevice(*polled[i], now);
      }
      if (with_pass_through && fds.back().revents) ForwardLeds();
      CheckRelease(Clock::now());
    }
    Release(nullptr);
    if (pass_through_ >= 0) run_.ops->ClosePassThrough(pass_through_);
    qCInfo(lcVorlin).noquote() << QStringLiteral("input capture ended: %1 key events, %2 mouse events")
                                      .arg(keys_)
                                      .arg(mouse_events_);
  }

 private:
  void Grab() {
    if (!run_.request.keyboard) return;
    bool any = false;
    for (auto& reader : readers_) {
      const EvdevKind kind = reader.device->kind();
      // A device that is also a mouse keeps its pointer: grabbing it would freeze the cursor.
      if (!kind.keyboard || kind.mouse) continue;
      reader.grabbed = run_.ops->Grab(reader.device->fd(), true);
      if (!reader.grabbed) {
        qCWarning(lcVorlin).noquote()
            << "input capture: keyboard held by another program, keys also reach it:"
            << QString::fromStdString(reader.device->name());
      }
      any = any || reader.grabbed;
    }
    run_.grabbed.store(any);
    if (!any) return;
    pass_through_ = run_.ops->OpenPassThrough();
    if (pass_through_ >= 0) SetNonBlocking(pass_through_);
    if (pass_through_ < 0) {
      qCWarning(lcVorlin).noquote()
          << "input capture: no pass-through device (/dev/uinput); lock keys stay with the capture";
    }
  }

  void Release(const char* reason) {
    if (!run_.grabbed.load()) return;
    for (auto& reader : readers_) {
      if (reader.grabbed && reader.alive) run_.ops->Grab(reader.device->fd(), false);
      reader.grabbed = false;
    }
    run_.grabbed.store(false);
    if (reason) qCInfo(lcVorlin).noquote() << "input capture: keyboards released," << reason;
  }

  int Timeout() const {
    if (!run_.grabbed.load()) return -1;
    auto deadline = last_input_ + run_.idle_release;
    if (posted_ > last_handled_) deadline = std::min(deadline, last_progress_ + run_.idle_release);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT32_MAX));
  }

  void CheckRelease(Clock::time_point now) {
    if (!run_.grabbed.load()) return;
    if (now - last_input_ >= run_.idle_release) {
      Release("no input for a while");
    } else if (posted_ > run_.delivery->handled.load(std::memory_order_relaxed) &&
               now - last_progress_ >= run_.idle_release) {
      Release("the window does not take the input");
    }
  }

  void ReadDevice(Reader& reader, Clock::time_point now) {
    char buffer[64 * sizeof(input_event)];
    while (true) {
      const size_t kept = reader.pending.size();
      std::memcpy(buffer, reader.pending.data(), kept);
      const ssize_t got = ::read(reader.device->fd(), buffer + kept, sizeof(buffer) - kept);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 && errno == EAGAIN) return;
      if (got <= 0) {
        reader.alive = false;
        reader.grabbed = false;  // the kernel drops a grab with its device
        qCInfo(lcVorlin).noquote() << "input capture: device gone:"
                                   << QString::fromStdString(reader.device->name());
        return;
      }
      last_input_ = now;
      const size_t total = kept + static_cast<size_t>(got);
      const size_t whole = total / sizeof(input_event) * sizeof(input_event);
      for (size_t at = 0; at < whole; at += sizeof(input_event)) {
        input_event event;
        std::memcpy(&event, buffer + at, sizeof(event));
        Handle(reader, event);
      }
      reader.pending.assign(buffer + whole, buffer + total);
    }
  }

  void Handle(Reader& reader, const input_event& event) {
    const EvdevKind kind = reader.device->kind();
    const bool mouse = kind.mouse && run_.request.mouse;
    const uint32_t time = TimeMs(event);
    if (event.type == EV_KEY && IsMouseButtonCode(event.code)) {
      if (!mouse) return;
      if (auto mapped = MouseButtonEventOfEvdev(event.code, event.value, time)) {
        ++mouse_events_;
        Post(*mapped);
      }
    } else if (event.type == EV_KEY) {
      if (!kind.keyboard || !run_.request.keyboard) return;
      if (IsLockKeyCode(event.code) && reader.grabbed && pass_through_ >= 0) {
        WriteEvents(pass_through_, {{EV_KEY, {event.code, event.value}}, {EV_SYN, {SYN_REPORT, 0}}});
      }
      if (auto mapped = KeyEventOfEvdev(event.code, event.value, time)) {
        ++keys_;
        Post(*mapped);
      }
    } else if (event.type == EV_REL && mouse) {
      if (event.code == REL_WHEEL || event.code == REL_HWHEEL) {
        ++mouse_events_;
        Post(MouseWheelEvent(event.code == REL_HWHEEL, event.value * kWheelDelta, time));
      } else if (event.code == REL_X) {
        reader.dx += event.value;
      } else if (event.code == REL_Y) {
        reader.dy += event.value;
      }
    } else if (event.type == EV_SYN && event.code == SYN_REPORT && (reader.dx || reader.dy)) {
      if (mouse && run_.request.pointer_moves) {
        InputEvent move;
        move.device = InputEvent::Device::kMouse;
        move.message = kWmMouseMove;
        move.mouse.dx = reader.dx;
        move.mouse.dy = reader.dy;
        move.mouse.time = time;
        Post(move);
      }
      reader.dx = reader.dy = 0;
    }
  }

  // LED changes the desktop writes to the pass-through device go on to the grabbed keyboards,
  // whose own LED writes the kernel drops while we hold the grab.
  void ForwardLeds() {
    input_event events[16];
    while (true) {
      const ssize_t got = ::read(pass_through_, events, sizeof(events));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return;
      for (size_t i = 0; i < static_cast<size_t>(got) / sizeof(input_event); ++i) {
        if (events[i].type != EV_LED) continue;
        for (auto& reader : readers_) {
          if (!reader.grabbed || !reader.alive) continue;
          WriteEvents(reader.device->fd(),
                      {{EV_LED, {events[i].code, events[i].value}}, {EV_SYN, {SYN_REPORT, 0}}});
        }
      }
    }
  }

  void Post(const InputEvent& event) {
    ++posted_;
    run_.post([weak = std::weak_ptr<Delivery>(run_.delivery), event] {
      const auto delivery = weak.lock();
      if (!delivery) return;
      delivery->handled.fetch_add(1, std::memory_order_relaxed);
      delivery->sink(event);
    });
  }

  EvdevInputSource::Run& run_;
  std::vector<Reader> readers_;
  int pass_through_ = -1;
  Clock::time_point last_input_;
  Clock::time_point last_progress_;
  uint64_t posted_ = 0;
  uint64_t last_handled_ = 0;
  int keys_ = 0;
  int mouse_events_ = 0;
};

}  // namespace

void EvdevInputSource::Run::Body() {
  ReadLoop(*this).Execute();
  finished.Set();
}

EvdevInputSource::EvdevInputSource(EvdevSourceOptions options) : options_(std::move(options)) {
  if (!options_.open_devices) {
    options_.open_devices = [](const CaptureRequest& request) {
      return OpenInputDevices("/dev/input", request);
    };
  }
  if (!options_.ops) options_.ops = std::make_shared<KernelEvdevOps>();
  if (!options_.post_to_owner) {
    owner_context_ = std::make_unique<QObject>();
    options_.post_to_owner = [context = owner_context_.get()](std::function<void()> call) {
      QMetaObject::invokeMethod(context, std::move(call), Qt::QueuedConnection);
    };
  }
}

EvdevInputSource::~EvdevInputSource() {
  Stop();
}

InputSource::StartResult EvdevInputSource::Start(const CaptureRequest& request, InputSink sink) {
  Stop();
  InputDeviceScan scan = options_.open_devices(request);
  const auto count = [&](bool keyboards) {
    return std::count_if(scan.devices.begin(), scan.devices.end(), [&](const auto& device) {
      return keyboards ? device.kind().keyboard : device.kind().mouse;
    });
  };
  const bool usable = request.keyboard ? count(true) > 0 : (!request.mouse || count(false) > 0);
  if (!usable) {
    qCInfo(lcVorlin).noquote()
        << QStringLiteral("input capture: no readable %1 under /dev/input (%2 not permitted)")
               .arg(request.keyboard ? QStringLiteral("keyboard") : QStringLiteral("mouse"))
               .arg(scan.denied);
    return StartResult::kUnavailable;
  }
  qCInfo(lcVorlin).noquote() << QStringLiteral("input capture from devices: keyboards %1, mice %2")
                                    .arg(Names(scan.devices, true), Names(scan.devices, false));
  run_ = std::make_unique<Run>();
  run_->request = request;
  run_->devices = std::move(scan.devices);
  run_->ops = options_.ops;
  run_->post = options_.post_to_owner;
  run_->idle_release = options_.grab_idle_release;
  run_->delivery->sink = std::move(sink);
  run_->thread = std::thread([run = run_.get()] { run->Body(); });
  return StartResult::kStarted;
}

void EvdevInputSource::Stop() {
  if (!run_) return;
  run_->stop.Set();
  const bool in_time = run_->finished.Wait(static_cast<int>(options_.stop_bound.count()));
  if (in_time) {
    qCInfo(lcVorlin).noquote() << "input capture reader ended";
  } else {
    qCWarning(lcVorlin).noquote() << "input capture reader late; waiting for it";
  }
  run_->thread.join();
  last_stop_ = in_time ? StopOutcome::kEnded : StopOutcome::kLate;
  run_.reset();  // closes the devices; queued events of this capture now find no sink
}

bool EvdevInputSource::KeyboardsGrabbed() const {
  return run_ && run_->grabbed.load();
}

}  // namespace vorlin
