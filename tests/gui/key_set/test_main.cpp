// The key-assignment panel's tests run on the offscreen platform with the source tree's skin, and
// keep every file they write in a private temporary folder.
#include "support/gui_test_main.h"

int main(int argc, char** argv) {
  return vorlin::test::RunWindowTests(argc, argv);
}
