#include "search/file_facts.h"

namespace corvale::search {

bool FileExists(const std::string& path) { return platform::PathExists(path); }

std::string_view FileExtension(std::string_view name) { return platform::PathFindExtension(name); }

std::int64_t FileSize(const std::string& path) {
  // The open can fail where the directory lookup still knows the size (no read permission).
  std::int64_t size = platform::SizeByOpen(path);
  if (size == 0) {
    if (auto facts = platform::StatPath(path)) size = facts->size;
  }
  return size;
}

std::string FileSizeText(const std::string& path, bool formatted) {
  const std::int64_t size = FileSize(path);
  return formatted ? platform::FormatByteSize(size) : std::to_string(size);
}

FileTimes FileTimeTexts(const std::string& path) {
  FileTimes times;
  const auto facts = platform::StatPath(path);
  if (!facts) return times;
  times.created = platform::LocalTimeText(facts->created);
  times.modified = platform::LocalTimeText(facts->modified);
  times.accessed = platform::LocalTimeText(facts->accessed, true);
  times.ok = true;
  return times;
}

std::optional<RowFacts> FactsForRow(const std::string& path, int folderFd,
                                    const std::string& name) {
  const auto facts = folderFd >= 0 ? platform::StatAt(folderFd, name) : platform::StatPath(path);
  if (!facts) return std::nullopt;
  RowFacts row;
  row.size = facts->size;
  row.sizeText = platform::FormatByteSize(row.size);
  row.created = platform::LocalTimeText(facts->created);
  row.modified = platform::LocalTimeText(facts->modified);
  row.device = facts->device;
  row.inode = facts->inode;
  row.modifiedNs = facts->ModifiedNs();
  return row;
}

}  // namespace corvale::search
