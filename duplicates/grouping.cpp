#include "duplicates/grouping.h"

#include <set>
#include <utility>

#include "resultlist/sort.h"

namespace corvale::duplicates {

using resultlist::kCandidateMark;
using resultlist::kDigestColumn;
using resultlist::kMarkColumn;
using resultlist::kNoDuplicateMark;
using resultlist::ResultRow;

std::size_t MarkCandidates(resultlist::ResultList& list) {
  auto& rows = list.rows;
  if (rows.size() < 2) return 0;
  // A second name of a file already listed (hard link, symbolic link) is never its own twin.
  std::set<std::pair<dev_t, ino_t>> seen;
  std::vector<ResultRow*> distinct;
  for (ResultRow& row : rows) {
    row.cells[kMarkColumn] = kNoDuplicateMark;
    if (seen.emplace(row.device, row.inode).second) distinct.push_back(&row);
  }
  // The list is sorted by byte size, so rows of equal size are neighbours.
  std::size_t candidates = 0;
  for (std::size_t i = 0; i < distinct.size();) {
    std::size_t end = i + 1;
    while (end < distinct.size() && distinct[end]->byteSize == distinct[i]->byteSize) ++end;
    if (end - i >= 2) {
      for (std::size_t k = i; k < end; ++k) distinct[k]->cells[kMarkColumn] = kCandidateMark;
      candidates += end - i;
    }
    i = end;
  }
  return candidates;
}

void RenumberRows(resultlist::ResultList& list) {
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    list.rows[r].cells[resultlist::kNumberColumn] = std::to_string(r + 1);
  }
}

std::size_t CountGroups(const resultlist::ResultList& list) {
  std::set<std::string> numbers;
  for (const ResultRow& row : list.rows) {
    const std::string& mark = row.cells[kMarkColumn];
    if (mark == kNoDuplicateMark) continue;
    std::string digits;
    for (char c : mark) {
      if (c >= '0' && c <= '9') digits += c;
    }
    numbers.insert(digits);
  }
  return numbers.size();
}

GroupingResult GroupDuplicates(resultlist::ResultList& list,
                               const std::unordered_map<std::uint64_t, std::string>& digests) {
  for (ResultRow& row : list.rows) {
    if (row.cells[kMarkColumn] != kCandidateMark) continue;
    const auto found = digests.find(row.id);
    row.cells[kDigestColumn] = found != digests.end() ? found->second : std::string();
    if (row.cells[kDigestColumn].empty()) row.cells[kMarkColumn] = kNoDuplicateMark;
  }
  resultlist::SortResultList(list, kDigestColumn, resultlist::CompareKind::Text, false);

  // Rows with a digest come first; each run of equal digests is one group, numbered from the top.
  int group = 1;
  std::size_t runLength = 0;
  for (std::size_t i = 0; i < list.rows.size(); ++i) {
    const std::string& digest = list.rows[i].cells[kDigestColumn];
    if (digest.empty()) break;
    const bool sameAsAbove = i > 0 && digest == list.rows[i - 1].cells[kDigestColumn];
    if (sameAsAbove) {
      list.rows[i - 1].cells[kMarkColumn] = resultlist::GroupMark(group);
      list.rows[i].cells[kMarkColumn] = resultlist::GroupMark(group);
      ++runLength;
    } else {
      if (runLength > 0) ++group;  // a group has just ended
      runLength = 0;
      list.rows[i].cells[kMarkColumn] = kNoDuplicateMark;
    }
  }
  RenumberRows(list);
  return {list.rows.size(), CountGroups(list)};
}

}  // namespace corvale::duplicates
