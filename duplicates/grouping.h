// The two halves of a duplicate run over ResultList: choosing the candidates by byte size, and,
// once every candidate has its digest, grouping identical files and numbering the groups.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "resultlist/result_list.h"

namespace corvale::duplicates {

// Marks column 7 of a list sorted by byte size: "加入识别" for a row whose byte size equals that
// of another row, "无" for every other row. Several rows of one physical file (same device and
// inode) are one file: only the first of them can become a candidate. A one-row list keeps its
// empty mark. Returns the number of candidates.
std::size_t MarkCandidates(resultlist::ResultList& list);

struct GroupingResult {
  std::size_t files = 0;
  std::size_t groups = 0;
};

// Writes every candidate's digest into column 8 (found by row identity), sorts the list by
// digest descending, marks runs of equal digests "重复文件第" + N + "组" from the top and every
// other row "无", and renumbers column 1. A candidate without a digest (unreadable, changed)
// ends "无" with an empty column 8.
GroupingResult GroupDuplicates(resultlist::ResultList& list,
                               const std::unordered_map<std::uint64_t, std::string>& digests);

// Writes 1..n into column 1 in list order.
void RenumberRows(resultlist::ResultList& list);

// The number of distinct group numbers among the marks of the list's rows.
std::size_t CountGroups(const resultlist::ResultList& list);

}  // namespace corvale::duplicates
