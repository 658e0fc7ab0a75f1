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

// A complete copy that has no name yet: an unnamed file (O_TMPFILE) where the file system allows
// it, else a hidden temporary name. A crash or a full disk never leaves a half file under a real
// name. Discarded on destruction unless placed.
class PendingCopy {
 public:
  // A copy of source in folder, or nothing when it could not be made whole.
  static std::optional<PendingCopy> Make(const std::string& source, const std::string& folder);
  PendingCopy(PendingCopy&& other) noexcept;
  PendingCopy& operator=(PendingCopy&&) = delete;
  ~PendingCopy();

  // Gives the copy the name destination unless that name is taken; then the copy is used up.
  TransferResult Place(const std::string& destination);

 private:
  PendingCopy(int fd, std::string tempPath) : fd_(fd), tempPath_(std::move(tempPath)) {}
  int fd_;                // the unnamed file, or -1
  std::string tempPath_;  // the hidden name, where the file system has no unnamed files
};

// Renames without replacing; across file systems copies, then removes the source (the copy is
// kept only when complete, the source removed only after it).
TransferResult MoveFileNoReplace(const std::string& source, const std::string& destination);

// Removes a file or a symbolic link; refuses folders and files without owner write permission.
bool DeleteFileStrict(const std::string& path);

// stat() succeeds and names a folder, links followed.
bool IsFolder(const std::string& path);

}  // namespace corvale::platform
