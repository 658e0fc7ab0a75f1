// The export of ResultList into a workbook: a header row with the column titles, then every row
// of the list in its current order, 65,535 rows a sheet.
#pragma once

#include <string>

#include "resultlist/result_list.h"

namespace corvale::exporter {

// The dialog's name with ".xls" appended, unless it already ends in ".xls" (any letter case).
std::string ExportFileName(const std::string& dialogName);

// Header b1..i1 (a1 not written), list row r in sheet row r + 1, columns a..i; more than 65,535
// rows continue on "Sheet2", "Sheet3", … each with its own header. Returns false when the file
// could not be written; then no file is left.
bool WriteListToWorkbook(const std::string& fileName, const resultlist::ResultList& list);

}  // namespace corvale::exporter
