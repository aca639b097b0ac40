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

// Calls `found` for every supported interface the registered backends present now: its path
// and its row of the interface table. False when the interfaces cannot be listed.
template <typename Found>
bool ForEachSupportedInterface(Found found) {
  const ProductCatalogue catalogue = ProgramCatalogue();
  const std::vector<InterfaceEntry>& rows = catalogue.InterfaceRows();
  const SlotList slots(rows);
  HidDevice scan;
  if (!scan.EnumerateInterfaces()) return false;
  while (const std::string* path = scan.NextInterfacePath()) {
    const PathNumbers numbers = ParsePathNumbers(*path);
    if (!slots.WantsPath(numbers)) continue;
    HidDevice probe;
    if (!probe.Open(*path, true, false, true, false)) continue;
    const HidCaps caps = probe.Caps();
    probe.Close();
    if (const auto row = FindInterfaceRow(rows, numbers, caps.UsagePage, caps.Usage))
      found(*path, rows[*row]);
  }
  return true;
}

}  // namespace

int ProbeDevices(std::ostream& out) {
  int found = 0;
  const bool listed =
      ForEachSupportedInterface([&](const std::string& path, const InterfaceEntry& entry) {
        ++found;
        out << KindName(entry.kind) << (entry.role == kRoleCommand ? " command" : " event")
            << " interface: " << path << "\n";
        if (entry.role == kRoleCommand) ReadInformation(out, path, entry.kind);
      });
  if (!listed) out << "cannot list HID interfaces\n";
  return found;
}

int CountSupportedInterfaces() {
  int found = 0;
  ForEachSupportedInterface([&](const std::string&, const InterfaceEntry&) { ++found; });
  return found;
}

}  // namespace vorlin
