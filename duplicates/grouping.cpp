#include "duplicates/grouping.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "resultlist/sort.h"

namespace corvale::duplicates {

using resultlist::ResultRow;

std::vector<Candidate> MarkCandidates(resultlist::ResultList& list) {
  auto& rows = list.rows;
  std::vector<Candidate> candidates;
  if (rows.size() < 2) return candidates;
  // A second name of a file already listed (hard link, symbolic link) is never its own twin: of
  // the rows of one physical file only the first takes part.
  std::vector<std::size_t> byFile(rows.size());
  std::iota(byFile.begin(), byFile.end(), 0);
  std::sort(byFile.begin(), byFile.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(rows[a].device, rows[a].inode, a) < std::tie(rows[b].device, rows[b].inode, b);
  });
  std::vector<bool> secondName(rows.size(), false);
  for (std::size_t i = 1; i < byFile.size(); ++i) {
    const ResultRow& a = rows[byFile[i - 1]];
    const ResultRow& b = rows[byFile[i]];
    secondName[byFile[i]] = a.device == b.device && a.inode == b.inode;
  }
  for (ResultRow& row : rows) row.mark = resultlist::kNoDuplicateMark;
  // The list is sorted by byte size, so files of equal size are neighbours.
  std::vector<std::size_t> run;
  const auto closeRun = [&] {
    if (run.size() >= 2) {
      for (std::size_t r : run) {
        rows[r].mark = resultlist::kCandidateMark;
        candidates.push_back({r, rows[r].id});
      }
    }
    run.clear();
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (secondName[r]) continue;
    if (!run.empty() && rows[r].byteSize != rows[run.front()].byteSize) closeRun();
    run.push_back(r);
  }
  closeRun();
  return candidates;
}

std::vector<std::size_t> ReadingOrder(const resultlist::ResultList& list,
                                      const std::vector<Candidate>& candidates) {
  constexpr std::int64_t kBig = std::int64_t(32) << 20;
  std::vector<std::size_t> order(candidates.size());
  std::iota(order.begin(), order.end(), 0);
  const auto key = [&](std::size_t k) {
    const ResultRow& row = list.rows[candidates[k].row];
    const bool big = row.byteSize >= kBig;
    return std::make_tuple(!big, big ? -row.byteSize : 0, row.device, row.inode);
  };
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
  return order;
}

void RenumberRows(resultlist::ResultList& list) {
  for (std::size_t r = 0; r < list.rows.size(); ++r) list.rows[r].number = std::uint32_t(r + 1);
}

namespace {

// Rows by digest descending, the rows without digest after them: the exact reverse of a stable
// ascending sort in which a row without digest has the smallest key.
std::vector<std::size_t> DigestOrder(const resultlist::Rows& rows) {
  std::vector<std::size_t> without, with;
  for (std::size_t r = 0; r < rows.size(); ++r) (rows[r].hasDigest ? with : without).push_back(r);
  std::stable_sort(with.begin(), with.end(),
                   [&](std::size_t a, std::size_t b) { return rows[a].digest < rows[b].digest; });
  std::vector<std::size_t> order = std::move(without);
  order.insert(order.end(), with.begin(), with.end());
  std::reverse(order.begin(), order.end());
  return order;
}

}  // namespace

GroupingResult GroupDuplicates(resultlist::ResultList& list,
                               const std::vector<Candidate>& candidates,
                               const std::vector<std::optional<resultlist::Digest>>& digests) {
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    // Nothing sorts during a run, so each candidate is still where the run found it; a row that is
    // not (the list was replaced) gets no digest.
    const Candidate& c = candidates[k];
    if (c.row >= list.rows.size() || list.rows[c.row].id != c.rowId) continue;
    ResultRow& row = list.rows[c.row];
    row.hasDigest = k < digests.size() && digests[k].has_value();
    if (row.hasDigest) {
      row.digest = *digests[k];
    } else {
      row.mark = resultlist::kNoDuplicateMark;
    }
  }
  resultlist::ApplyOrder(list, DigestOrder(list.rows));

  // Rows with a digest come first; each run of equal digests is one group, numbered from the top.
  std::int32_t group = 0;
  auto& rows = list.rows;
  for (std::size_t i = 0; i < rows.size() && rows[i].hasDigest;) {
    std::size_t end = i + 1;
    while (end < rows.size() && rows[end].hasDigest && rows[end].digest == rows[i].digest) ++end;
    const std::int32_t mark = end - i >= 2 ? ++group : resultlist::kNoDuplicateMark;
    for (; i < end; ++i) rows[i].mark = mark;
  }
  RenumberRows(list);
  return {rows.size(), std::size_t(group)};
}

}  // namespace corvale::duplicates
