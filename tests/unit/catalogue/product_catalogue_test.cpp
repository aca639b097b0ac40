// The product catalogue: the interface rows discovery matches against, where each row leads, the
// ids a user adds without rebuilding, and the udev rule that must let the user open every id.
#include "catalogue/product_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "catalogue/extra_product_ids.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

struct RowCase {
  const char* product;
  bool receiver;
  uint16_t role;
  uint16_t vendor, productId, interfaceNumber, collection, kind, usagePage, usage;
};

// Every product's command and event collections, by cable and through the receiver.
TEST(ProductCatalogueTest, BuiltInRowsDescribeEveryInterfaceOfEveryProduct) {
  const RowCase cases[] = {
      {"mouse", false, kRoleCommand, 0x320F, 0x225E, 1, 4, kKindMouse, 0xFF1C, 0x92},
      {"mouse", false, kRoleEvent, 0x320F, 0x225E, 1, 3, kKindMouse, 0x0C, 0x01},
      {"mouse", true, kRoleCommand, 0x320F, 0x225F, 1, 4, kKindMouseReceiver, 0xFF1C, 0x92},
      {"mouse", true, kRoleEvent, 0x320F, 0x225F, 1, 3, kKindMouseReceiver, 0x0C, 0x01},
      {"keyboard", false, kRoleCommand, 0, 0, 1, 4, kKindKeyboard, 0xFF1C, 0x92},
      {"keyboard", false, kRoleEvent, 0, 0, 1, 3, kKindKeyboard, 0x0C, 0x01},
      {"keyboard", true, kRoleCommand, 0, 0, 1, 4, kKindKeyboardReceiver, 0xFF1C, 0x92},
      {"keyboard", true, kRoleEvent, 0, 0, 1, 3, kKindKeyboardReceiver, 0x0C, 0x01},
      {"MousePad", false, kRoleCommand, 0x320F, 0x1004, 1, 4, kKindMousePad, 0xFF1C, 0x92},
      {"MousePad", false, kRoleEvent, 0x320F, 0x1004, 1, 3, kKindMousePad, 0x0C, 0x01},
      {"HD", false, kRoleCommand, 0x0C76, 0x1630, 3, 0, kKindHeadset, 0x0C, 0x01},
  };
  const ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
  const auto& rows = catalogue.InterfaceRows();
  const auto& origins = catalogue.RowOrigins();
  ASSERT_EQ(rows.size(), std::size(cases));
  ASSERT_EQ(origins.size(), rows.size());
  for (const RowCase& c : cases) {
    SCOPED_TRACE(std::string(c.product) + (c.receiver ? " receiver" : " cable") +
                 (c.role == kRoleEvent ? " events" : " commands"));
    size_t found = rows.size();
    for (size_t i = 0; i < rows.size(); ++i) {
      const InterfaceEntry& r = rows[i];
      if (r.kind == c.kind && r.role == c.role) found = i;
    }
    ASSERT_LT(found, rows.size());
    const InterfaceEntry& row = rows[found];
    EXPECT_EQ(row.vendorId, c.vendor);
    EXPECT_EQ(row.productId, c.productId);
    EXPECT_EQ(row.interfaceNumber, c.interfaceNumber);
    EXPECT_EQ(row.collectionNumber, c.collection);
    EXPECT_EQ(row.usagePage, c.usagePage);
    EXPECT_EQ(row.usage, c.usage);
    EXPECT_EQ(catalogue.Product(origins[found].product).dataName, c.product);
    EXPECT_EQ(origins[found].receiver, c.receiver);
    EXPECT_EQ(origins[found].role, c.role);
  }
}

// A cable row and its receiver row name each other, role for role; products without a receiver
// have no partner.
TEST(ProductCatalogueTest, PartnersPairCableAndReceiverRowsOfOneProduct) {
  const ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
  const auto& rows = catalogue.InterfaceRows();
  const auto& origins = catalogue.RowOrigins();
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const ProductEntry& product = catalogue.Product(origins[i].product);
    if (!product.HasReceiver()) {
      EXPECT_EQ(rows[i].hasPartner, 0);
      continue;
    }
    ASSERT_EQ(rows[i].hasPartner, 1);
    const size_t partner = rows[i].partner;
    ASSERT_LT(partner, rows.size());
    EXPECT_EQ(origins[partner].product, origins[i].product);
    EXPECT_NE(origins[partner].receiver, origins[i].receiver);
    EXPECT_EQ(origins[partner].role, origins[i].role);
    EXPECT_EQ(rows[partner].partner, i);
  }
}

TEST(ProductCatalogueTest, UsbIdsReadAndWriteAsVendorColonProduct) {
  EXPECT_EQ(UsbIdText({0x320F, 0x225E}), "320f:225e");
  EXPECT_EQ(ParseUsbId("320F:225e"), (UsbId{0x320F, 0x225E}));
  for (const char* bad : {"", "320f225e", "320f:225", "320f:225eX", "32g0:0001", "0x20:0001"}) {
    EXPECT_FALSE(ParseUsbId(bad)) << bad;
  }
}

std::string WriteFile(const testing::TempFolder& folder, const std::string& text) {
  const std::string path = folder.File("devices.json");
  std::ofstream(path) << text;
  return path;
}

// A keyboard whose ids the program does not carry, added by the user: it gets rows of its own,
// by cable and through its receiver, and leads back to the keyboard.
TEST(ExtraProductIdsTest, AUsersIdsGiveTheProductRowsOfItsOwn) {
  testing::TempFolder folder;
  ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
  const size_t before = catalogue.InterfaceRows().size();
  const ExtraIdsResult result = AddExtraProductIds(
      catalogue, WriteFile(folder, R"({"products": [{"product": "keyboard",
        "cable": ["1a2b:3c4d"], "receiver": ["1a2b:3c4e", "1A2B:3C4E"]}]})"));
  EXPECT_TRUE(result.problems.empty());
  EXPECT_EQ(result.added, 3);  // the repeated receiver id is not listed twice
  ASSERT_EQ(catalogue.InterfaceRows().size(), before + 4);
  const std::optional<size_t> keyboard = catalogue.FindByDataName("keyboard");
  ASSERT_TRUE(keyboard);
  EXPECT_EQ(catalogue.FindByUsbId({0x1A2B, 0x3C4D}, kKindKeyboard), keyboard);
  EXPECT_EQ(catalogue.FindByUsbId({0x1A2B, 0x3C4E}, kKindKeyboardReceiver), keyboard);
  EXPECT_FALSE(catalogue.FindByUsbId({0x1A2B, 0x3C4E}, kKindKeyboard));
  int rows_of_new_ids = 0;
  for (size_t i = 0; i < catalogue.InterfaceRows().size(); ++i) {
    const InterfaceEntry& row = catalogue.InterfaceRows()[i];
    if (row.vendorId != 0x1A2B) continue;
    ++rows_of_new_ids;
    EXPECT_EQ(catalogue.RowOrigins()[i].product, *keyboard);
  }
  EXPECT_EQ(rows_of_new_ids, 4);
}

TEST(ExtraProductIdsTest, WhatCannotBeUnderstoodIsSkippedAndReported) {
  struct Case {
    const char* what;
    const char* text;
    int added;
    size_t problems;
  };
  const Case cases[] = {
      {"not a document", "not json", 0, 0},
      {"no list", R"({"devices": []})", 0, 1},
      {"an unknown product", R"({"products": [{"product": "toaster", "cable": ["0001:0002"]}]})",
       0, 1},
      {"a bad id beside a good one",
       R"({"products": [{"product": "mouse", "cable": ["nonsense", "0001:0002"]}]})", 1, 1},
      {"a receiver the pad does not have",
       R"({"products": [{"product": "MousePad", "receiver": ["0001:0002"]}]})", 0, 1},
      {"ids that are no list", R"({"products": [{"product": "mouse", "cable": "0001:0002"}]})", 0,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempFolder folder;
    ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
    const size_t before = catalogue.InterfaceRows().size();
    const ExtraIdsResult result = AddExtraProductIds(catalogue, WriteFile(folder, c.text));
    EXPECT_EQ(result.added, c.added);
    EXPECT_EQ(result.problems.size(), c.problems);
    EXPECT_EQ(catalogue.InterfaceRows().size() > before, c.added > 0);
  }
  ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
  EXPECT_EQ(AddExtraProductIds(catalogue, "/nonexistent/devices.json").added, 0);
}

// The rule in data/linux must let the user open every product the program knows; a product id
// of 0000:0000 stands for ids the program does not carry.
TEST(UdevRuleTest, EveryKnownIdHasARule) {
  std::ifstream file(VORLIN_SOURCE_DIR "/data/linux/70-vorlin.rules");
  ASSERT_TRUE(file) << "no udev rule";
  std::stringstream text;
  text << file.rdbuf();
  const std::string rules = text.str();
  for (const UsbId& id : ProductCatalogue::BuiltIn().AllUsbIds()) {
    if (id.vendorId == 0 && id.productId == 0) continue;
    const std::string vendor = UsbIdText(id).substr(0, 4);
    const std::string product = UsbIdText(id).substr(5);
    const std::string line = "ATTRS{idVendor}==\"" + vendor + "\", ATTRS{idProduct}==\"" +
                             product + "\", TAG+=\"uaccess\"";
    EXPECT_NE(rules.find(line), std::string::npos) << "no rule for " << UsbIdText(id);
  }
}

}  // namespace
}  // namespace vorlin
