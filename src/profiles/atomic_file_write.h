#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace vorlin {

// Replacing a file so that a crash or power cut at any moment leaves either the old or the new
// contents under its name, never a mixture or a truncated file.

// Writes `contents` to a new hidden temporary file in the folder of `path` and flushes it to
// disk. The file takes the permissions of the file it will replace, with read and write for
// its owner added (or 0666 less the umask).
// Nothing when the temporary file cannot be created or written (it is then removed); `error`
// then says why.
std::optional<std::filesystem::path> WriteTemporaryBeside(const std::filesystem::path& path,
                                                          std::string_view contents,
                                                          std::error_code* error = nullptr);
// Renames the temporary file over `path` and flushes the folder, so the rename itself is on
// disk. On failure the temporary file is removed and `path` is left as it was.
bool ReplaceWithTemporary(const std::filesystem::path& temporary, const std::filesystem::path& path,
                          std::error_code* error = nullptr);
// Both steps; nothing is written when the file already holds `contents`. The outcome goes to
// DocumentWriteReporter::Instance(), which tells the user of a document that cannot be stored.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);
// Flushes a folder's entries (a rename or a new link in it) to disk; errors are ignored.
void SyncFolder(const std::filesystem::path& folder);

}  // namespace vorlin
