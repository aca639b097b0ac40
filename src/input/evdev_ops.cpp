#include "input/evdev_ops.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>

namespace vorlin {

bool KernelEvdevOps::Grab(int fd, bool grab) {
  return ::ioctl(fd, EVIOCGRAB, grab ? 1 : 0) == 0;
}

int KernelEvdevOps::OpenPassThrough() {
  const int fd = ::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  bool ok = ::ioctl(fd, UI_SET_EVBIT, EV_SYN) == 0 && ::ioctl(fd, UI_SET_EVBIT, EV_KEY) == 0 &&
            ::ioctl(fd, UI_SET_EVBIT, EV_LED) == 0;
  for (const int key : {KEY_CAPSLOCK, KEY_NUMLOCK, KEY_SCROLLLOCK}) {
    ok = ok && ::ioctl(fd, UI_SET_KEYBIT, key) == 0;
  }
  for (const int led : {LED_NUML, LED_CAPSL, LED_SCROLLL}) {
    ok = ok && ::ioctl(fd, UI_SET_LEDBIT, led) == 0;
  }
  uinput_setup setup{};
  setup.id.bustype = BUS_VIRTUAL;
  std::strncpy(setup.name, "vorlin lock keys", UINPUT_MAX_NAME_SIZE - 1);
  ok = ok && ::ioctl(fd, UI_DEV_SETUP, &setup) == 0 && ::ioctl(fd, UI_DEV_CREATE) == 0;
  if (!ok) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void KernelEvdevOps::ClosePassThrough(int fd) {
  if (fd < 0) return;
  ::ioctl(fd, UI_DEV_DESTROY);
  ::close(fd);
}

}  // namespace vorlin
