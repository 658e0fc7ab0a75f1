// Sorting ResultList by one column: numbers, texts (as unsigned bytes) or times, as the column
// holds them. Rows move whole: their ticks and facts travel with them.
#pragma once

#include <cstddef>
#include <vector>

#include "resultlist/result_list.h"

namespace corvale::resultlist {

// Whether a header click on the column sorts: columns 1 to 8 do, the tick column does not.
bool HeaderSorts(int column);

// Stable: rows with equal keys keep their order ascending, and a descending sort is the exact
// reverse of the ascending one. Times compare to the second, as they are shown.
void SortResultList(ResultList& list, int column, bool ascending);

// Puts the rows in a new order: order[i] is the old place of the row that goes to place i.
void ApplyOrder(ResultList& list, const std::vector<std::size_t>& order);

}  // namespace corvale::resultlist
