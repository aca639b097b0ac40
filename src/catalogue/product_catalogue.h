#pragma once

// The products the program works with, one entry each: how discovery recognises the product by
// cable and through its receiver, how its page is built and what its device object is. Every
// table the program used to keep per product (interfaces, selector options, pages) is derived
// from these entries, so adding a product is adding an entry.
//
// The interface rows of discovery (InterfaceRows) are generated from the entries: for each
// product in catalogue order its cable command and event collections, then its receiver's, one
// row per USB id. RowOrigin leads from a row back to its product and connection.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hid/device_tables.h"

namespace vorlin {

// The device class that serves a product (one per family).
enum class DeviceFamily { kMouse, kKeyboard, kMousePad, kHeadset, kNone };

struct UsbId {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  bool operator==(const UsbId&) const = default;
};

// One top-level HID collection of a USB interface: where it sits and what it reports.
struct CollectionSpec {
  uint16_t interfaceNumber = 0;
  uint16_t collectionNumber = 0;
  uint16_t usagePage = 0;
  uint16_t usage = 0;
};

// One way of reaching a product: by cable, or through its wireless receiver.
struct ProductConnection {
  uint16_t kind = 0;           // the device kind code of this connection
  std::vector<UsbId> ids;      // the USB ids that present it (the built-in one first)
  CollectionSpec command;      // the vendor command collection
  std::optional<CollectionSpec> events;  // the consumer-control event collection, if any
};

struct ProductEntry {
  // Names the product's folders and documents ("mouse", "keyboard", "MousePad", "HD").
  std::string dataName;
  DeviceFamily family = DeviceFamily::kNone;
  ProductConnection cable;
  std::optional<ProductConnection> receiver;

  // The page: the picture's layout, its key and light buttons, the battery panel, the value
  // handed to the mouse page (-1).
  std::string pageLayout;
  int keyCount = 0;
  int lightCount = 0;
  bool statusPanel = false;
  int mouseValue = -1;
  // Lighting: the entry of the effect name lists, the custom light configuration's name and the
  // effect table the lighting panel uses for this product's effects.
  int lightIndex = 0;
  std::string lightConfigName;
  int lightPanelType = 1;

  // The selector strip's option: its layout, tab group, the container of the battery panels,
  // the picture variant and the stem of its icons and name ("ms" -> "ms_device_normal.svg",
  // "ms_device_name_text").
  std::string optionLayout;
  std::string tabGroup;
  std::string powerContainer;
  int variant = 0;
  std::string iconStem;

  bool HasReceiver() const { return receiver.has_value(); }
  // The connection of a kind code (cable or receiver); nullptr when the product has none.
  const ProductConnection* ConnectionOfKind(uint16_t kind) const;
};

// Where an interface row comes from.
struct RowOrigin {
  size_t product = 0;
  bool receiver = false;
  uint16_t role = kRoleCommand;
};

class ProductCatalogue {
 public:
  explicit ProductCatalogue(std::vector<ProductEntry> products);
  // The products this program knows without any configuration.
  static ProductCatalogue BuiltIn();

  const std::vector<ProductEntry>& Products() const { return products_; }
  const ProductEntry& Product(size_t index) const { return products_[index]; }
  size_t size() const { return products_.size(); }
  // The product with this data name; nullopt when none.
  std::optional<size_t> FindByDataName(const std::string& data_name) const;
  // The product whose connection of `kind` is presented by `id`.
  std::optional<size_t> FindByUsbId(UsbId id, uint16_t kind) const;

  // Adds a USB id to a product's cable or receiver connection (an id it lists already is not
  // added twice). False when the product has no such connection.
  bool AddUsbId(size_t product, bool receiver, UsbId id);

  // The rows discovery matches interfaces against, and the origin of each.
  const std::vector<InterfaceEntry>& InterfaceRows() const { return rows_; }
  const std::vector<RowOrigin>& RowOrigins() const { return origins_; }

  // Every USB id of every product (cable and receiver), each once, in catalogue order.
  std::vector<UsbId> AllUsbIds() const;

 private:
  void BuildRows();

  std::vector<ProductEntry> products_;
  std::vector<InterfaceEntry> rows_;
  std::vector<RowOrigin> origins_;
};

// "vid:pid" in four hexadecimal digits each, e.g. "320f:225e".
std::string UsbIdText(UsbId id);
std::optional<UsbId> ParseUsbId(const std::string& text);

}  // namespace vorlin
