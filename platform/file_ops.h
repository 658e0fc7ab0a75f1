// File operations with the care a desktop tool owes its user's files: a copy or move never
// replaces an existing file, and a delete refuses folders and read-only files.
#pragma once

#include <optional>
#include <string>

namespace corvale::platform {

enum class TransferResult { Done, DestinationExists, Failed };

// Copies content, mode and modification time into a temporary file beside destination, then
// gives it the destination name only if that name is free. Nothing is left behind on failure.
TransferResult CopyFileNoReplace(const std::string& source, const std::string& destination);

// The first half of such a copy: a complete copy of source under a hidden temporary name in
// folder, or nothing. The caller places it with PlaceNoReplace and removes it if that fails.
std::optional<std::string> CopyToTemporary(const std::string& source, const std::string& folder);
// Gives the file temp the name destination unless that name is taken.
TransferResult PlaceNoReplace(const std::string& temp, const std::string& destination);

// Renames without replacing; across file systems copies, then removes the source (the copy is
// kept only when complete, the source removed only after it).
TransferResult MoveFileNoReplace(const std::string& source, const std::string& destination);

// Removes a file or a symbolic link; refuses folders and files without owner write permission.
bool DeleteFileStrict(const std::string& path);

// stat() succeeds and names a folder, links followed.
bool IsFolder(const std::string& path);

}  // namespace corvale::platform
