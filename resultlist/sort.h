// Sorting ResultList by one column, comparing the column's texts as numbers, as texts or as dates
// and times. Rows move whole: their ticks and facts travel with them.
#pragma once

#include <string_view>

#include "resultlist/result_list.h"

namespace corvale::resultlist {

enum class CompareKind { Number = 0, Text = 1, DateTime = 2 };

// The comparison a header click uses for a column; columns outside 1..8 are not sorted.
bool HeaderSortKind(int column, CompareKind& kind);

// The leading number of a text as the C library reads it ("1.50 KB" → 1.5, "300 B" → 300), 0
// when there is none. Independent of the process locale.
double LeadingNumber(std::string_view text);

// Days since 1970-01-01 with the time of day as fraction, from "yyyy-MM-dd HH:mm:ss" or the date
// and blank alone; a text that does not parse counts as 1 January of the year 100.
double DateTimeKey(std::string_view text);

// Stable: rows with equal keys keep their order ascending, and a descending sort is the exact
// reverse of the ascending one. Numbers and dates are equal within 1e-7. The size column sorts by
// the file's byte size where it is known.
void SortResultList(ResultList& list, int column, CompareKind kind, bool ascending);

}  // namespace corvale::resultlist
