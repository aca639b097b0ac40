// The fit tests run on the offscreen platform with the source tree's skin, and keep every file
// they write (settings, user data, sockets) in a private temporary folder.
#include "support/gui_test_main.h"

int main(int argc, char** argv) {
  return vorlin::test::RunWindowTests(argc, argv);
}
