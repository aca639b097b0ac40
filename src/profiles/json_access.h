#pragma once

#include <json/value.h>

#include <optional>
#include <string>

namespace vorlin {

// Guarded access to documents that come from disk. A document may hold anything: an array where
// an object belongs, a string where a number belongs, numbers beyond any range. jsoncpp's own
// accessors throw (or assert) on such values, so every read goes through these helpers, which
// treat a value of the wrong shape as missing.

// The member `key` of an object; a null value when `object` is not an object or lacks the key.
const Json::Value& Member(const Json::Value& object, const char* key);
// Element `index` of an array; a null value when `array` is not an array or is too short.
const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index);

// A number (or boolean) that fits a 32-bit int; fractions are cut off. Nothing otherwise.
std::optional<int> AsInt(const Json::Value& value);
// The library's boolean reading: any non-zero number is true. Nothing for non-numbers.
std::optional<bool> AsBool(const Json::Value& value);

int ReadInt(const Json::Value& object, const char* key, int fallback = 0);
bool ReadBool(const Json::Value& object, const char* key, bool fallback = false);
std::string ReadString(const Json::Value& object, const char* key,
                       const std::string& fallback = {});

// Writable access. A value of the wrong shape on the way is replaced by an empty object or
// array, so a setter never throws on a damaged document.
Json::Value& MutableMember(Json::Value& object, const char* key);
Json::Value& MutableElement(Json::Value& array, Json::ArrayIndex index);

}  // namespace vorlin
