// What the rest of the program needs to know about one file given by its path: existence,
// extension, size (plain or formatted) and its creation, modification and access time texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace corvale::search {

bool FileExists(const std::string& path);

// The extension of a name including its leading ".", or "": a view into name.
std::string_view FileExtension(std::string_view name);

// Plain: the byte count in decimal. Formatted: the short text of the "大小" column.
std::string FileSizeText(const std::string& path, bool formatted);
std::int64_t FileSize(const std::string& path);

struct FileTimes {
  std::string created;
  std::string modified;
  std::string accessed;  // a time of exactly 00:00:00 is left out
  bool ok = false;
};
FileTimes FileTimeTexts(const std::string& path);

// Everything a result row shows about a file, from a single stat.
struct RowFacts {
  std::int64_t size = 0;
  std::string sizeText;
  std::string created;
  std::string modified;
  dev_t device = 0;
  ino_t inode = 0;
  std::int64_t modifiedNs = 0;
};
// Nothing when the file does not exist (any more).
// folderFd, when not -1, is an open descriptor of the file's folder and name its name there.
std::optional<RowFacts> FactsForRow(const std::string& path, int folderFd = -1,
                                    const std::string& name = {});

}  // namespace corvale::search
