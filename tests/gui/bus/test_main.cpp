// The bus interface's tests: the main window over the emulated devices on a private D-Bus session
// bus (started for the test binary), with the window tests' offscreen platform and private folders.
#include "support/gui_test_main.h"
#include "support/private_bus.h"

int main(int argc, char** argv) {
  vorlin::test::RunUnderPrivateBus(argc, argv);
  return vorlin::test::RunWindowTests(argc, argv);
}
