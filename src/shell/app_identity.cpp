#include "shell/app_identity.h"

#ifndef VORLIN_VERSION_TEXT
#define VORLIN_VERSION_TEXT "0.0.0"
#endif

namespace vorlin {

const char* AppVersion() {
  return VORLIN_VERSION_TEXT;
}

}  // namespace vorlin
