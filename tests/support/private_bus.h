#pragma once

// Test binaries that talk over D-Bus run on a private session bus: started without one, the binary
// runs itself again under dbus-run-session, so no test ever talks to the user's real session bus;
// where dbus-run-session is missing the bus tests skip.

#include <unistd.h>

#include <vector>

#include <QtGlobal>

namespace vorlin::test {

inline void RunUnderPrivateBus(int argc, char** argv) {
  constexpr char kUnderPrivateBus[] = "VORLIN_TEST_PRIVATE_BUS";
  if (qEnvironmentVariableIsSet(kUnderPrivateBus)) return;
  qputenv(kUnderPrivateBus, "1");
  std::vector<char*> args;
  args.push_back(const_cast<char*>("dbus-run-session"));
  args.push_back(const_cast<char*>("--"));
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  ::execvp("dbus-run-session", args.data());
  // Not installed: go on without a bus of our own.
  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace vorlin::test
