#include "catalogue/product_catalogue.h"

#include <cstdio>

namespace vorlin {

namespace {

constexpr CollectionSpec kVendorCommands{1, 4, 0xFF1C, 0x92};
constexpr CollectionSpec kConsumerEvents{1, 3, 0x0C, 0x01};
constexpr char kOptionLayout[] = "XML\\CustomControlXML\\DeviceOption.xml";
constexpr char kTabGroup[] = "tab_header_device";
constexpr char kPowerContainer[] = "device_power_switch";

ProductEntry WithOption(ProductEntry entry) {
  entry.optionLayout = kOptionLayout;
  entry.tabGroup = kTabGroup;
  entry.powerContainer = kPowerContainer;
  entry.lightConfigName = "torva_light";
  return entry;
}

std::vector<ProductEntry> BuiltInEntries() {
  std::vector<ProductEntry> products;

  ProductEntry mouse;
  mouse.dataName = "mouse";
  mouse.family = DeviceFamily::kMouse;
  mouse.cable = {kKindMouse, {{0x320F, 0x225E}}, kVendorCommands, kConsumerEvents};
  mouse.receiver = ProductConnection{kKindMouseReceiver, {{0x320F, 0x225F}}, kVendorCommands,
                                     kConsumerEvents};
  mouse.pageLayout = "XML\\DeviceXml\\mousedevice.xml";
  mouse.keyCount = 15;
  mouse.lightCount = 11;
  mouse.statusPanel = true;
  mouse.lightIndex = 1;
  mouse.lightPanelType = 2;
  mouse.iconStem = "ms";
  products.push_back(WithOption(mouse));

  // The keyboard's ids are not known to the program: a user adds them (extra_product_ids.h).
  ProductEntry keyboard;
  keyboard.dataName = "keyboard";
  keyboard.family = DeviceFamily::kKeyboard;
  keyboard.cable = {kKindKeyboard, {{0x0000, 0x0000}}, kVendorCommands, kConsumerEvents};
  keyboard.receiver = ProductConnection{kKindKeyboardReceiver, {{0x0000, 0x0000}},
                                        kVendorCommands, kConsumerEvents};
  keyboard.pageLayout = "XML\\DeviceXml\\keyboarddevice.xml";
  keyboard.keyCount = 170;
  keyboard.lightCount = 170;
  keyboard.lightIndex = 0;
  keyboard.lightPanelType = 1;
  keyboard.iconStem = "kb";
  products.push_back(WithOption(keyboard));

  ProductEntry pad;
  pad.dataName = "MousePad";
  pad.family = DeviceFamily::kMousePad;
  pad.cable = {kKindMousePad, {{0x320F, 0x1004}}, kVendorCommands, kConsumerEvents};
  pad.pageLayout = "XML\\DeviceXml\\mousepaddevice.xml";
  pad.keyCount = 15;
  pad.lightIndex = 2;
  pad.lightPanelType = 3;
  pad.iconStem = "hard_mp";
  products.push_back(WithOption(pad));

  // The headset's only HID interface is its command interface.
  ProductEntry headset;
  headset.dataName = "HD";
  headset.family = DeviceFamily::kHeadset;
  headset.cable = {kKindHeadset, {{0x0C76, 0x1630}}, {3, 0, 0x0C, 0x01}, std::nullopt};
  headset.pageLayout = "XML\\DeviceXml\\hs6533device.xml";
  headset.keyCount = 13;
  headset.lightIndex = 3;
  headset.lightPanelType = 4;
  headset.iconStem = "hd";
  products.push_back(WithOption(headset));
  return products;
}

InterfaceEntry Row(UsbId id, const CollectionSpec& spec, uint16_t kind, uint16_t role) {
  InterfaceEntry row;
  row.vendorId = id.vendorId;
  row.productId = id.productId;
  row.interfaceNumber = spec.interfaceNumber;
  row.collectionNumber = spec.collectionNumber;
  row.kind = kind;
  row.role = role;
  row.usagePage = spec.usagePage;
  row.usage = spec.usage;
  return row;
}

}  // namespace

const ProductConnection* ProductEntry::ConnectionOfKind(uint16_t kind) const {
  if (cable.kind == kind) return &cable;
  if (receiver && receiver->kind == kind) return &*receiver;
  return nullptr;
}

ProductCatalogue::ProductCatalogue(std::vector<ProductEntry> products)
    : products_(std::move(products)) {
  BuildRows();
}

ProductCatalogue ProductCatalogue::BuiltIn() {
  return ProductCatalogue(BuiltInEntries());
}

std::optional<size_t> ProductCatalogue::FindByDataName(const std::string& data_name) const {
  for (size_t i = 0; i < products_.size(); ++i) {
    if (products_[i].dataName == data_name) return i;
  }
  return std::nullopt;
}

std::optional<size_t> ProductCatalogue::FindByUsbId(UsbId id, uint16_t kind) const {
  for (size_t i = 0; i < products_.size(); ++i) {
    const ProductConnection* connection = products_[i].ConnectionOfKind(kind);
    if (!connection) continue;
    for (const UsbId& each : connection->ids) {
      if (each == id) return i;
    }
  }
  return std::nullopt;
}

bool ProductCatalogue::AddUsbId(size_t product, bool receiver, UsbId id) {
  if (product >= products_.size()) return false;
  ProductEntry& entry = products_[product];
  if (receiver && !entry.receiver) return false;
  std::vector<UsbId>& ids = receiver ? entry.receiver->ids : entry.cable.ids;
  for (const UsbId& each : ids) {
    if (each == id) return true;
  }
  ids.push_back(id);
  BuildRows();
  return true;
}

std::vector<UsbId> ProductCatalogue::AllUsbIds() const {
  std::vector<UsbId> all;
  const auto add = [&all](const ProductConnection& connection) {
    for (const UsbId& id : connection.ids) {
      bool known = false;
      for (const UsbId& each : all) known = known || each == id;
      if (!known) all.push_back(id);
    }
  };
  for (const ProductEntry& entry : products_) {
    add(entry.cable);
    if (entry.receiver) add(*entry.receiver);
  }
  return all;
}

void ProductCatalogue::BuildRows() {
  rows_.clear();
  origins_.clear();
  for (size_t p = 0; p < products_.size(); ++p) {
    const ProductEntry& entry = products_[p];
    const auto add = [&](const ProductConnection& connection, bool receiver) {
      const size_t first = rows_.size();
      for (const UsbId& id : connection.ids) {
        rows_.push_back(Row(id, connection.command, connection.kind, kRoleCommand));
        origins_.push_back({p, receiver, kRoleCommand});
        if (connection.events) {
          rows_.push_back(Row(id, *connection.events, connection.kind, kRoleEvent));
          origins_.push_back({p, receiver, kRoleEvent});
        }
      }
      return first;
    };
    const size_t cable_first = add(entry.cable, false);
    if (!entry.receiver) continue;
    const size_t receiver_first = add(*entry.receiver, true);
    // A row's partner is the row of the same role for the other connection's first id.
    const auto partner = [&](size_t other_first, const ProductConnection& other, uint16_t role)
        -> std::optional<size_t> {
      if (role == kRoleCommand) return other_first;
      if (other.events) return other_first + 1;
      return std::nullopt;
    };
    for (size_t r = cable_first; r < rows_.size(); ++r) {
      const bool on_receiver = origins_[r].receiver;
      const std::optional<size_t> other =
          on_receiver ? partner(cable_first, entry.cable, origins_[r].role)
                      : partner(receiver_first, *entry.receiver, origins_[r].role);
      if (!other) continue;
      rows_[r].hasPartner = 1;
      rows_[r].partner = static_cast<uint16_t>(*other);
    }
  }
}

std::string UsbIdText(UsbId id) {
  char text[10];
  std::snprintf(text, sizeof text, "%04x:%04x", id.vendorId, id.productId);
  return text;
}

std::optional<UsbId> ParseUsbId(const std::string& text) {
  if (text.size() != 9 || text[4] != ':') return std::nullopt;
  const auto hex = [](const std::string& part) -> std::optional<uint16_t> {
    uint32_t value = 0;
    for (const char c : part) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<uint16_t>(value);
  };
  const std::optional<uint16_t> vendor = hex(text.substr(0, 4));
  const std::optional<uint16_t> product = hex(text.substr(5, 4));
  if (!vendor || !product) return std::nullopt;
  return UsbId{*vendor, *product};
}

}  // namespace vorlin
