#include "profiles/json_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

#include <json/reader.h>
#include <json/writer.h>

#include "platform/log.h"
#include "profiles/atomic_file_write.h"
#include "platform/scoped_fd.h"
#include "profiles/utf8_repair.h"

namespace vorlin {

std::string JsonFileIo::ReadTextFile(const std::filesystem::path& path) {
  ScopedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return {};
  struct stat info {};
  // Only regular files: a FIFO or a device node named like a document would block or never end.
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uintmax_t>(info.st_size) > kMaxDocumentBytes) {
    return {};
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {};
    }
    if (n == 0) break;
    if (text.size() + static_cast<size_t>(n) > kMaxDocumentBytes) return {};
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

Json::Value JsonFileIo::ParseJsonText(std::string_view raw_text) {
  if (raw_text.empty()) return Json::Value();
  // jsoncpp keeps whatever bytes a string holds, and its writer then decodes them as if they were
  // UTF-8: "\xc3(" would be saved as "\u00e8", the "(" lost, and a damaged member name would come
  // back as another name. Bytes that are not UTF-8 therefore read as U+FFFD.
  const std::string text = RepairUtf8(raw_text);
  Json::CharReaderBuilder builder;
  builder["allowComments"] = true;
  builder["collectComments"] = true;
  builder["stackLimit"] = kMaxNesting;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  // The parser reports its errors by return value; the catch covers anything jsoncpp throws
  // on input it was not written for.
  try {
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
      return Json::Value();
  } catch (const std::exception&) {
    return Json::Value();
  }
  return root;
}

Json::Value JsonFileIo::ReadJsonFile(const std::filesystem::path& path) {
  const std::string text = ReadTextFile(path);
  if (text.empty()) {
    // Missing documents are normal (first start, a new profile); one line is trace enough.
    qCDebug(lcVorlin) << "document missing, empty or unreadable:" << path.c_str();
    return Json::Value();
  }
  return ParseJsonText(text);
}

namespace {

// Whether any member name below `value` holds a NUL character ("\u0000" in the text).
bool HasNulInMemberName(const Json::Value& value) {
  if (value.isObject()) {
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string name = it.name();
      if (name.find('\0') != std::string::npos || HasNulInMemberName(*it)) return true;
    }
  } else if (value.isArray()) {
    for (const Json::Value& element : value) {
      if (HasNulInMemberName(element)) return true;
    }
  }
  return false;
}

}  // namespace

std::string JsonFileIo::StyledText(const Json::Value& value) {
  // The classic styled writer cuts member names at a NUL, so "KeyList\u0000x" would be written
  // as a second "KeyList" and replace the first when read back. Such (hand-made) documents are
  // written by the stream writer, which keeps the whole name, in the same indentation.
  if (HasNulInMemberName(value)) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    return Json::writeString(builder, value) + "\n";
  }
  // The classic styled writer (3 spaces, right margin 74) is the documents' established form;
  // its replacement indents with tabs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  Json::StyledWriter writer;
  return writer.write(value);
#pragma GCC diagnostic pop
}

bool JsonFileIo::WriteJsonFile(const std::filesystem::path& path, const Json::Value& value) {
  return WriteFileAtomically(path, StyledText(value));
}

std::string JsonFileIo::FormatTimeStampId(const std::tm& t, int milliseconds) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, "%d_%02d_%02d_%02d_%02d_%02d_%03d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, milliseconds);
  return buffer;
}

std::string JsonFileIo::MakeTimeStampId(std::chrono::system_clock::time_point when) {
  const auto whole_seconds = std::chrono::floor<std::chrono::seconds>(when);
  const int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(when - whole_seconds).count());
  const std::time_t seconds = std::chrono::system_clock::to_time_t(whole_seconds);
  std::tm local{};
  localtime_r(&seconds, &local);
  return FormatTimeStampId(local, ms);
}

std::string JsonFileIo::MakeTimeStampId() {
  return MakeTimeStampId(std::chrono::system_clock::now());
}

std::string JsonFileIo::GetFileTitle(const std::filesystem::path& path) {
  return path.stem().string();
}

}  // namespace vorlin
