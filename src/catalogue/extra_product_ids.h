#pragma once

// USB ids a user adds to the products the program knows, without rebuilding it: another revision
// of the mouse, or the keyboard, whose ids the program does not carry. The file is a JSON
// document in the user's configuration folder ("devices.json"):
//
//   { "products": [ { "product": "keyboard",
//                     "cable": ["1a2b:3c4d"], "receiver": ["1a2b:3c4e"] } ] }
//
// "product" is a product's data name ("mouse", "keyboard", "MousePad", "HD"); ids are
// "vendor:product" in hexadecimal. What cannot be understood is skipped and reported; a missing
// file adds nothing.

#include <string>
#include <vector>

namespace vorlin {

class ProductCatalogue;

struct ExtraIdsResult {
  int added = 0;
  // One line per entry that was skipped, for the log.
  std::vector<std::string> problems;
};

ExtraIdsResult AddExtraProductIds(ProductCatalogue& catalogue, const std::string& path);

// The file's place: $XDG_CONFIG_HOME (or ~/.config) + "/vorlin/devices.json".
std::string ExtraProductIdsPath();

// The products of this run: the built-in ones with the user's ids added; what the user's file
// holds that cannot be used is logged.
ProductCatalogue ProgramCatalogue();

}  // namespace vorlin
