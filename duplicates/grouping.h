// The two halves of a duplicate run over ResultList: choosing the candidates by byte size, and,
// once every candidate has its digest, grouping identical files and numbering the groups.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "resultlist/result_list.h"

namespace corvale::duplicates {

// A file of the run to digest: its row's place when the run chose it, and the row's identity,
// checked before the digest is written there.
struct Candidate {
  std::size_t row = 0;
  std::uint64_t rowId = 0;
};

// Marks column 7 of a list sorted by byte size: "加入识别" for a row whose byte size equals that
// of another row, "无" for every other row. Several rows of one physical file (same device and
// inode) are one file: only the first of them can become a candidate. A one-row list keeps its
// empty mark. Returns the candidates in list order.
std::vector<Candidate> MarkCandidates(resultlist::ResultList& list);

// The order in which to read the candidates, as places in `candidates`: files of 32 MiB and more
// first, largest first, so no core is left alone with a big file at the end; then the rest by
// device and inode, a cheap stand-in for their order on the disk.
std::vector<std::size_t> ReadingOrder(const resultlist::ResultList& list,
                                      const std::vector<Candidate>& candidates);

struct GroupingResult {
  std::size_t files = 0;
  std::size_t groups = 0;
};

// Writes each candidate's digest (digests[k] for candidates[k]) into its row, sorts the list by
// digest descending, marks runs of equal digests "重复文件第" + N + "组" from the top and every
// other row "无", and renumbers column 1. A candidate without a digest (unreadable, changed) ends
// "无" with an empty column 8.
GroupingResult GroupDuplicates(resultlist::ResultList& list,
                               const std::vector<Candidate>& candidates,
                               const std::vector<std::optional<resultlist::Digest>>& digests);

// Writes 1..n into column 1 in list order.
void RenumberRows(resultlist::ResultList& list);

}  // namespace corvale::duplicates
