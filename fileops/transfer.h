// What the file commands decide before they touch a file: the destination name of a copied or
// moved file in the target folder, and which duplicates the one-click deletion may remove.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"
#include "resultlist/result_list.h"

namespace corvale::fileops {

inline constexpr std::string_view kClashMarker = "（有重名的——Corvale）";

// The file-name part of a path without its extension: "archive.tar.gz" → "archive.tar",
// ".config" → "", "README" → "README".
std::string FileStem(std::string_view path);

// target + "/" + stem + "（有重名的——Corvale）" + (attempt > 1 ? attempt : "") + extension.
std::string ClashName(const std::string& target, const std::string& name, int attempt);

struct TransferOutcome {
  bool done = false;     // the file arrived under `destination`
  bool clashed = false;  // the plain name was taken in the target folder
  std::string destination;
};

// Copies or moves name from source into target: under its own name when free, else under the
// first free clash name. Never replaces an existing file.
TransferOutcome TransferToTarget(const std::string& source, const std::string& name,
                                 const std::string& target, bool move);

// A file as the search listed it: its path and the facts that tell whether it is still that file.
struct ListedFile {
  std::string path;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  dev_t device = 0;
  ino_t inode = 0;
};
ListedFile ListedFileOf(const resultlist::ResultRow& row);

// One file the one-click deletion would remove, with the file of its group that is kept.
struct DuplicateVictim {
  ListedFile victim;
  ListedFile kept;
};

// Walks the rows in list order and keeps the first row of each run of rows with the same group
// mark ("重复文件第" + N + "组"); the further rows of the run are the victims. Rows without a
// group mark ("无", empty, a candidate of a run in progress) are passed over.
std::vector<DuplicateVictim> CollectDuplicateVictims(const resultlist::ResultList& list);

// A victim may go only while it and its kept file are both still the very files the run digested
// (same device and inode, same size, same modification time) and two different physical files. A
// file replaced since, even by one of the same size and time, keeps the victim.
bool SafeToDelete(const DuplicateVictim& victim);

}  // namespace corvale::fileops
