// The update page's tests: the real settings window (offscreen) on a private session bus, against
// a local update server.
#include "support/gui_test_main.h"
#include "support/private_bus.h"

int main(int argc, char** argv) {
  vorlin::test::RunUnderPrivateBus(argc, argv);
  return vorlin::test::RunWindowTests(argc, argv);
}
