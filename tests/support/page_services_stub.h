#pragma once

// PageServices that answer as a user who confirms everything and cancels every dialog, and have
// no colour window and no input capture. Panel tests derive their stand-ins from it and override
// what they look at.

#include "ui/page_services.h"

namespace vorlin::testing {

class StubPageServices : public PageServices {
 public:
  int ShowMessage(const QString&, bool, std::optional<int>, const QString&) override { return 1; }
  QString OpenFile(const QString&) override { return {}; }
  QString SaveFile(const QString&) override { return {}; }
  std::optional<ColourChoice> ChooseColour(uint32_t, bool, bool) override { return {}; }
  bool StartCapture(int, std::function<void(const HookEvent&)>) override { return false; }
  void StopCapture() override {}
  bool CaptureLimitedToWindow() const override { return false; }
};

}  // namespace vorlin::testing
