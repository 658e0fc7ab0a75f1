// Linux stand-ins for the Windows file services the program was designed on: attribute words,
// find-first/next enumeration, existence, extension, size and time facts, atomic replacement.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include <dirent.h>

namespace corvale::platform {

// Windows attribute bits as the enumeration reports them.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

// Opens a folder for reading, links followed. A path longer than the kernel takes in one call
// is opened part by part. Returns the descriptor, or -1.
int OpenFolder(const std::string& path);

// One folder read once, in the order the file system returns its entries: every entry but "."
// and ".." with the attribute word the find service would give it. Closes itself on destruction.
class FolderReader {
 public:
  struct Entry {
    const char* name;  // valid until the next call of Next
    std::uint32_t attributes;
  };

  explicit FolderReader(const std::string& folder);
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;
  ~FolderReader();

  bool IsOpen() const { return dir_ != nullptr; }
  // Descriptor of the open folder, for looking at an entry without resolving its path again.
  int Fd() const { return dir_ ? dirfd(dir_) : -1; }
  dev_t Device() const { return device_; }
  ino_t Inode() const { return inode_; }
  // The next entry, or nothing at the end.
  std::optional<Entry> Next();

 private:
  DIR* dir_ = nullptr;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

// True when name starts with "." but is not "." or "..": the Linux notion of a hidden entry.
bool IsDotName(std::string_view name);

// Wildcard match with "*" and "?"; the pattern "*.*" matches every name.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// stat() succeeds, links followed: files and folders alike.
bool PathExists(const std::string& path);

// The extension of the last path part from its last ".", "" when there is none; a blank after
// that dot cancels it ("a. b" has none).
std::string_view PathFindExtension(std::string_view path);

// What one stat of a path (links followed) tells.
struct FileStat {
  std::int64_t size = 0;
  timespec created{};  // birth time where the file system records one, else status-change time
  timespec modified{};
  timespec accessed{};
  dev_t device = 0;
  ino_t inode = 0;
  bool isDirectory = false;
  bool isRegular = false;

  std::int64_t ModifiedNs() const {
    return std::int64_t(modified.tv_sec) * 1000000000 + modified.tv_nsec;
  }
};
std::optional<FileStat> StatPath(const std::string& path);
// The same for name inside the open folder folderFd (AT_FDCWD: name is a path): saves resolving
// the folder part of the path again.
std::optional<FileStat> StatAt(int folderFd, const char* name);

// Short size notation: "0", "1023 B", "1.30 KB", "22.9 KB", "1023 KB", three significant digits,
// truncated.
std::string FormatByteSize(std::int64_t size);

// "yyyy-MM-dd HH:mm:ss" in local time.
std::string LocalTimeText(const timespec& time);

// The file that a replacement of path must replace: path itself, or the file a symbolic link at
// path leads to, so that the link stays a link and its file gets the new contents. Nothing for a
// link that leads nowhere.
std::optional<std::string> ReplacementTarget(const std::string& path);
// The folder part of a path ("." when there is none).
std::string FolderOfPath(const std::string& path);
// Writes all of bytes; false on the first failed write.
bool WriteAll(int fd, std::string_view bytes);
// The mode for a file written at path: that of the file there, else what a new file gets.
mode_t NewFileMode(const std::string& path);

// Writes bytes to a temporary file beside path's target (see ReplacementTarget) and renames it
// over the target, so readers see the old or the new contents, never a torn file. Keeps the mode
// of an existing file. Nothing is left behind on failure.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace corvale::platform
