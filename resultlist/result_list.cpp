#include "resultlist/result_list.h"

#include <algorithm>

namespace corvale::resultlist {

std::size_t ResultList::CheckedCount() const {
  return std::size_t(
      std::count_if(rows.begin(), rows.end(), [](const ResultRow& r) { return r.checked; }));
}

}  // namespace corvale::resultlist
