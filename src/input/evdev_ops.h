#pragma once

// The kernel calls of the evdev input source that change what other programs see, behind a seam
// so that tests can watch them: grabbing a keyboard, and the lock-key pass-through device.
//
// While a keyboard is grabbed (EVIOCGRAB) the kernel hands its events to our descriptor alone, so
// captured keys reach no other program. That would also swallow Caps, Num and Scroll Lock, and the
// desktop's writes of the keyboard LEDs are dropped by the kernel while another handle holds the
// grab. The pass-through device fixes both: a small virtual keyboard (uinput) with the three lock
// keys and the three lock LEDs. The source re-sends every lock key it reads from a grabbed keyboard
// through it, so the desktop toggles its lock state as usual; the desktop then sets the LEDs of all
// its keyboards, the virtual one included, and the source copies the LED events that arrive on the
// virtual device to the grabbed keyboards (as the grab's holder it may write them).

namespace vorlin {

class EvdevOps {
 public:
  virtual ~EvdevOps() = default;

  // EVIOCGRAB on or off; false when the kernel refuses (another program holds the grab).
  virtual bool Grab(int fd, bool grab) = 0;
  // Creates the lock-key pass-through device and returns its descriptor (readable for the LED
  // events the desktop writes, writable for key events), or -1 when it cannot be made (no
  // /dev/uinput, or no permission).
  virtual int OpenPassThrough() = 0;
  virtual void ClosePassThrough(int fd) = 0;
};

// The real calls.
class KernelEvdevOps : public EvdevOps {
 public:
  bool Grab(int fd, bool grab) override;
  int OpenPassThrough() override;
  void ClosePassThrough(int fd) override;
};

}  // namespace vorlin
