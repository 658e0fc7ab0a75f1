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

// One find handle: yields the names in a folder whose attribute word shares a bit with the mask,
// in the order the file system returns them. The pattern may use "*" and "?"; "*.*" matches every
// name. Closes itself on destruction or on the next First.
class EntryEnumerator {
 public:
  EntryEnumerator() = default;
  EntryEnumerator(const EntryEnumerator&) = delete;
  EntryEnumerator& operator=(const EntryEnumerator&) = delete;
  ~EntryEnumerator() { Close(); }

  // folder ends in "/"; returns the first name, or "" when there is none.
  std::string First(const std::string& folder, const std::string& pattern, std::uint32_t mask);
  std::string Next();
  void Close();

  // Device and inode of the open folder; valid after a First that opened it.
  dev_t FolderDevice() const { return folderDevice_; }
  ino_t FolderInode() const { return folderInode_; }
  bool IsOpen() const { return dir_ != nullptr; }
  // Descriptor of the open folder, or -1.
  int FolderFd() const { return dir_ ? dirfd(dir_) : -1; }

 private:
  std::uint32_t AttributesOf(const dirent& entry) const;

  DIR* dir_ = nullptr;
  std::string pattern_;
  std::uint32_t mask_ = 0;
  bool folderHidden_ = false;
  dev_t folderDevice_ = 0;
  ino_t folderInode_ = 0;
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
std::optional<FileStat> StatAt(int folderFd, const std::string& name);

// Size by open + fstat; 0 when the file cannot be opened.
std::int64_t SizeByOpen(const std::string& path);

// Short size notation: "0", "1023 B", "1.30 KB", "22.9 KB", "1023 KB", three significant digits,
// truncated.
std::string FormatByteSize(std::int64_t size);

// "yyyy-MM-dd HH:mm:ss" in local time. With dropMidnight a time of exactly "00:00:00" is left
// out, so the text ends in the blank after the date.
std::string LocalTimeText(const timespec& time, bool dropMidnight = false);

// Writes text to a temporary file beside path and renames it over path, so readers see the old
// or the new contents, never a torn file. Keeps the mode of an existing file.
bool ReplaceFileContents(const std::string& path, std::string_view text);

}  // namespace corvale::platform
