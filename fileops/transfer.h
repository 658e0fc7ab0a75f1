// What the file commands decide before they touch a file: the destination name of a copied or
// moved file in the target folder, and which duplicates the one-click deletion may remove.
#pragma once

#include <cstdint>
#include <functional>
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

// One file the one-click deletion would remove, with the file of its group that is kept.
struct DuplicateVictim {
  resultlist::ResultRow victim;
  resultlist::ResultRow kept;
};

// Walks the rows in list order and keeps the first row of each run of rows with the same group
// mark ("重复文件第" + N + "组"); the further rows of the run are the victims. Rows without a
// group mark ("无", empty, a candidate of a run in progress) are passed over.
std::vector<DuplicateVictim> CollectDuplicateVictims(const resultlist::ResultList& list);

// A victim may go only while its kept file still exists, both still have the size and
// modification time they were listed with, and they are two different physical files.
bool SafeToDelete(const DuplicateVictim& victim);

}  // namespace corvale::fileops
