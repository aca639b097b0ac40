#pragma once

#include <json/value.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorlin {

// Reading and writing of every JSON document of the program. Stateless.
class JsonFileIo {
 public:
  // Documents are small; anything larger than this is not one of ours and reads as unreadable.
  static constexpr std::uintmax_t kMaxDocumentBytes = 16 * 1024 * 1024;
  // Nesting deeper than this fails to parse: our documents are a handful of levels deep, and
  // the parser, the copy and the writer all recurse once per level.
  static constexpr int kMaxNesting = 128;

  // The whole file as bytes; empty when it is missing, not a regular file, too large or
  // unreadable.
  static std::string ReadTextFile(const std::filesystem::path& path);
  // The parsed document; a null value when the file is missing, empty, unreadable or not JSON.
  static Json::Value ReadJsonFile(const std::filesystem::path& path);
  // Parses text the way ReadJsonFile does (comments allowed and kept, bytes that are not UTF-8
  // read as U+FFFD); null on any error.
  static Json::Value ParseJsonText(std::string_view text);
  // The styled form every document is written in: 3-space indentation, closing newline.
  static std::string StyledText(const Json::Value& value);
  // Writes the styled form so that a crash or power cut leaves either the old or the new
  // document, never a partial one: the text goes to a temporary file in the same folder, is
  // flushed to disk, then renamed over the document, and the folder is flushed. Returns false
  // (and leaves the old document) when any step fails.
  static bool WriteJsonFile(const std::filesystem::path& path, const Json::Value& value);

  // The id of new profiles and macros: the local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d"
  // (year, month, day, hour, minute, second, millisecond).
  static std::string MakeTimeStampId();
  static std::string MakeTimeStampId(std::chrono::system_clock::time_point when);
  static std::string FormatTimeStampId(const std::tm& local_time, int milliseconds);

  // The file name without folder and extension: "/a/b/work.json" gives "work".
  static std::string GetFileTitle(const std::filesystem::path& path);
};

}  // namespace vorlin
