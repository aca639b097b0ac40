#pragma once

#include <filesystem>
#include <string_view>

namespace vorlin {

// A document is written through a hidden temporary file beside it (WriteFileAtomically). A
// program killed while writing leaves that file behind; nothing else ever removes it.

// Whether `name` is one of those temporary files: "." + document name + ".tmp-" + three
// dash-separated decimal numbers (process, salt, counter).
bool IsOwnTemporaryName(std::string_view name);

// Removes the temporary files of `folder` and of the folders directly inside it that were last
// written before `started` and are not held by a running writer (a writer keeps its temporary
// file locked until it has been renamed over the document). Anything else (documents, other
// names, links, newer files) is left alone. Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder,
                           std::filesystem::file_time_type started);

}  // namespace vorlin
