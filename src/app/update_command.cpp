#include "app/update_command.h"

#include <QSettings>

#include "app/device_probe.h"
#include "shell/app_paths.h"

namespace vorlin {

int RunUpdateCheckCommand(std::ostream& out) {
  const std::unique_ptr<QSettings> settings = OpenProgramSettings();
  const UpdateServer server = ReadUpdateServer(*settings);
  return PrintUpdateCheck(out, UpdateTargets(SupportedDeviceTable(), ConnectedDeviceVersions()),
                          server);
}

}  // namespace vorlin
