#include "profiles/json_access.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace vorlin {

const Json::Value& Member(const Json::Value& object, const char* key) {
  if (!object.isObject()) return Json::Value::nullSingleton();
  const Json::Value* found = object.find(key, key + std::strlen(key));
  return found != nullptr ? *found : Json::Value::nullSingleton();
}

const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray() || index >= array.size()) return Json::Value::nullSingleton();
  return array[index];
}

std::optional<int> AsInt(const Json::Value& value) {
  switch (value.type()) {
    case Json::booleanValue:
      return value.asBool() ? 1 : 0;
    case Json::intValue:
    case Json::uintValue:
      if (value.isInt()) return value.asInt();
      return std::nullopt;
    case Json::realValue: {
      const double d = value.asDouble();
      // NaN fails both comparisons.
      if (d > static_cast<double>(std::numeric_limits<int>::min()) - 1.0 &&
          d < static_cast<double>(std::numeric_limits<int>::max()) + 1.0)
        return static_cast<int>(d);
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<bool> AsBool(const Json::Value& value) {
  switch (value.type()) {
    case Json::booleanValue:
      return value.asBool();
    case Json::intValue:
      return value.asLargestInt() != 0;
    case Json::uintValue:
      return value.asLargestUInt() != 0;
    case Json::realValue:
      return value.asDouble() != 0.0;
    default:
      return std::nullopt;
  }
}

int ReadInt(const Json::Value& object, const char* key, int fallback) {
  return AsInt(Member(object, key)).value_or(fallback);
}

bool ReadBool(const Json::Value& object, const char* key, bool fallback) {
  return AsBool(Member(object, key)).value_or(fallback);
}

std::string ReadString(const Json::Value& object, const char* key, const std::string& fallback) {
  const Json::Value& value = Member(object, key);
  return value.isString() ? value.asString() : fallback;
}

Json::Value& MutableMember(Json::Value& object, const char* key) {
  if (!object.isObject()) object = Json::Value(Json::objectValue);
  return object[key];
}

Json::Value& MutableElement(Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray()) array = Json::Value(Json::arrayValue);
  return array[index];
}

}  // namespace vorlin
