#include "catalogue/extra_product_ids.h"

#include <cstdlib>

#include "catalogue/product_catalogue.h"
#include "platform/log.h"
#include "profiles/json_file_io.h"

namespace vorlin {

ExtraIdsResult AddExtraProductIds(ProductCatalogue& catalogue, const std::string& path) {
  ExtraIdsResult result;
  const Json::Value document = JsonFileIo::ReadJsonFile(path);
  if (document.isNull()) return result;
  const Json::Value* products = document.isObject() ? document.find("products", "products" + 8)
                                                    : nullptr;
  if (!products || !products->isArray()) {
    result.problems.push_back(path + ": no \"products\" list");
    return result;
  }
  for (const Json::Value& entry : *products) {
    const Json::Value* name = entry.isObject() ? entry.find("product", "product" + 7) : nullptr;
    const std::optional<size_t> product =
        name && name->isString() ? catalogue.FindByDataName(name->asString()) : std::nullopt;
    if (!product) {
      result.problems.push_back(path + ": an entry names no known product");
      continue;
    }
    for (const bool receiver : {false, true}) {
      const char* key = receiver ? "receiver" : "cable";
      const Json::Value* ids = entry.find(key, key + std::char_traits<char>::length(key));
      if (!ids) continue;
      if (!ids->isArray()) {
        result.problems.push_back(path + ": \"" + key + "\" of " + name->asString() +
                                  " is not a list");
        continue;
      }
      for (const Json::Value& id_text : *ids) {
        const std::optional<UsbId> id =
            id_text.isString() ? ParseUsbId(id_text.asString()) : std::nullopt;
        if (!id) {
          result.problems.push_back(path + ": an id of " + name->asString() +
                                    " is not \"vendor:product\" in hexadecimal");
          continue;
        }
        if (!catalogue.AddUsbId(*product, receiver, *id)) {
          result.problems.push_back(path + ": " + name->asString() + " has no " + key);
          continue;
        }
        ++result.added;
      }
    }
  }
  return result;
}

std::string ExtraProductIdsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config && config[0] == '/') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home && home[0]) {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/vorlin/devices.json";
}

}  // namespace vorlin

namespace vorlin {

ProductCatalogue ProgramCatalogue() {
  ProductCatalogue catalogue = ProductCatalogue::BuiltIn();
  const std::string path = ExtraProductIdsPath();
  if (path.empty()) return catalogue;
  const ExtraIdsResult result = AddExtraProductIds(catalogue, path);
  for (const std::string& problem : result.problems) qCWarning(lcVorlin).noquote() << problem.c_str();
  if (result.added > 0) qCInfo(lcVorlin) << result.added << "USB ids added from" << path.c_str();
  return catalogue;
}

}  // namespace vorlin
