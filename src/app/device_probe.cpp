#include "app/device_probe.h"

#include <array>
#include <cstdio>
#include <string>

#include "hid/device_link.h"
#include "hid/device_tables.h"
#include "hid/hid_device.h"
#include "catalogue/extra_product_ids.h"
#include "catalogue/product_catalogue.h"
#include "hid/slot_list.h"

namespace vorlin {
namespace {

const char* KindName(uint16_t kind) {
  switch (kind) {
    case kKindKeyboard:
      return "keyboard";
    case kKindKeyboardReceiver:
      return "keyboard (receiver)";
    case kKindMouse:
      return "mouse";
    case kKindMouseReceiver:
      return "mouse (receiver)";
    case kKindMousePad:
      return "mouse pad";
    case kKindHeadset:
      return "headset";
  }
  return "unknown";
}

bool IsReceiver(uint16_t kind) {
  return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}

void ReadInformation(std::ostream& out, const std::string& path, uint16_t kind) {
  DeviceLink link;
  HidDevice& device = IsReceiver(kind) ? link.ReceiverInterface() : link.WiredInterface();
  if (!device.Open(path, true, true, true, false)) {
    out << "    cannot open the command interface (permissions? see data/linux/README.md)\n";
    return;
  }
  link.open = true;
  link.SetConnectionMode(IsReceiver(kind) ? 2 : 1);
  if (!link.ProbeWireless()) {
    out << "    the device behind the receiver does not answer (switched off?)\n";
    return;
  }
  std::array<uint8_t, kDeviceInfoSize> info{};
  int result = link.BeginConfig();
  if (result == kLinkOk) result = link.ReadDeviceInfo(info);
  link.EndConfig();
  if (result != kLinkOk) {
    out << "    reading the device information failed (result " << result << ")\n";
    return;
  }
  char line[160];
  std::snprintf(line, sizeof line,
                "    keys %u, macro memory %u bytes, sensor %04x, DPI step %u, DPI base %u\n",
                info[5], info[6] * 128u, info[9] | (info[10] << 8), info[11],
                info[14] | (info[15] << 8));
  out << line;
}

}  // namespace

std::vector<SupportedInterface> ListSupportedInterfaces(bool* listed) {
  std::vector<SupportedInterface> found;
  const ProductCatalogue catalogue = ProgramCatalogue();
  const std::vector<InterfaceEntry>& rows = catalogue.InterfaceRows();
  const SlotList slots(rows);
  HidDevice scan;
  const bool ok = scan.EnumerateInterfaces();
  if (listed) *listed = ok;
  if (!ok) return found;
  while (const std::string* path = scan.NextInterfacePath()) {
    const PathNumbers numbers = ParsePathNumbers(*path);
    if (!slots.WantsPath(numbers)) continue;
    HidDevice probe;
    if (!probe.Open(*path, true, false, true, false)) continue;
    const HidCaps caps = probe.Caps();
    const HidAttributes attributes = probe.Attributes();
    probe.Close();
    if (const auto row = FindInterfaceRow(rows, numbers, caps.UsagePage, caps.Usage))
      found.push_back({*path, rows[*row], attributes});
  }
  return found;
}

std::vector<ConnectedDevice> ConnectedDeviceVersions() {
  std::vector<ConnectedDevice> devices;
  for (const SupportedInterface& found : ListSupportedInterfaces()) {
    if (found.entry.role != kRoleCommand) continue;
    devices.push_back({found.entry.kind, found.attributes.VersionNumber});
  }
  return devices;
}

int ProbeDevices(std::ostream& out) {
  bool listed = false;
  const std::vector<SupportedInterface> found = ListSupportedInterfaces(&listed);
  for (const SupportedInterface& item : found) {
    out << KindName(item.entry.kind) << (item.entry.role == kRoleCommand ? " command" : " event")
        << " interface: " << item.path << "\n";
    if (item.entry.role == kRoleCommand) ReadInformation(out, item.path, item.entry.kind);
  }
  if (!listed) out << "cannot list HID interfaces\n";
  return static_cast<int>(found.size());
}

int CountSupportedInterfaces() {
  return static_cast<int>(ListSupportedInterfaces().size());
}

}  // namespace vorlin
