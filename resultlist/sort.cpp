#include "resultlist/sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

namespace corvale::resultlist {
namespace {

template <typename Key, typename KeyOf>
std::vector<std::size_t> StableOrder(const Rows& rows, KeyOf keyOf) {
  std::vector<Key> keys;
  keys.reserve(rows.size());
  for (const ResultRow& row : rows) keys.push_back(keyOf(row));
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  return order;
}

std::int64_t Seconds(std::int64_t ns) {
  constexpr std::int64_t kNs = 1000000000;
  return ns >= 0 ? ns / kNs : -((-ns + kNs - 1) / kNs);
}

std::vector<std::size_t> AscendingOrder(const Rows& rows, int column) {
  switch (column) {
    case kNumberColumn:
      return StableOrder<std::uint32_t>(rows, [](const ResultRow& r) { return r.number; });
    case kNameColumn:
      return StableOrder<std::string_view>(rows, [](const ResultRow& r) { return r.Name(); });
    case kPathColumn:
      return StableOrder<std::string_view>(rows, [](const ResultRow& r) { return r.Path(); });
    case kSizeColumn:
      return StableOrder<std::int64_t>(rows, [](const ResultRow& r) { return r.byteSize; });
    case kCreatedColumn:
      return StableOrder<std::int64_t>(rows, [](const ResultRow& r) { return r.createdSeconds; });
    case kModifiedColumn:
      return StableOrder<std::int64_t>(rows,
                                       [](const ResultRow& r) { return Seconds(r.modifiedNs); });
    case kMarkColumn:
      return StableOrder<std::string>(rows, [](const ResultRow& r) { return MarkText(r.mark); });
    case kDigestColumn:
      // Lower-case hexadecimal keeps the byte order, and a row without digest shows "".
      return StableOrder<std::pair<bool, Digest>>(
          rows, [](const ResultRow& r) { return std::make_pair(r.hasDigest, r.digest); });
    default:
      return {};
  }
}

}  // namespace

bool HeaderSorts(int column) { return column >= kNumberColumn && column <= kDigestColumn; }

void SortResultList(ResultList& list, int column, bool ascending) {
  if (list.rows.size() < 2 || !HeaderSorts(column)) return;
  std::vector<std::size_t> order = AscendingOrder(list.rows, column);
  if (!ascending) std::reverse(order.begin(), order.end());
  ApplyOrder(list, order);
}

void ApplyOrder(ResultList& list, const std::vector<std::size_t>& order) {
  Rows sorted;
  for (std::size_t r : order) sorted.push_back(list.rows[r]);
  list.rows = std::move(sorted);
}

}  // namespace corvale::resultlist
