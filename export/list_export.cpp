#include "export/list_export.h"

#include "export/xls_writer.h"

namespace corvale::exporter {

std::string ExportFileName(const std::string& dialogName) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  std::string tail = dialogName.size() >= 4 ? dialogName.substr(dialogName.size() - 4) : "";
  for (char& c : tail) c = lower(c);
  return tail == ".xls" ? dialogName : dialogName + ".xls";
}

bool WriteListToWorkbook(const std::string& fileName, const resultlist::ResultList& list) {
  constexpr std::size_t kDataRowsPerSheet = kMaxRowsPerSheet - 1;
  XlsWriter writer;
  const std::size_t sheets =
      std::max<std::size_t>(1, (list.rows.size() + kDataRowsPerSheet - 1) / kDataRowsPerSheet);
  for (std::size_t s = 0; s < sheets; ++s) {
    writer.AddSheet("Sheet" + std::to_string(s + 1));
    for (int c = 1; c < resultlist::kColumnCount; ++c) {
      writer.SetCell(0, c, resultlist::kColumnTitles[std::size_t(c)]);
    }
    const std::size_t first = s * kDataRowsPerSheet;
    const std::size_t last = std::min(list.rows.size(), first + kDataRowsPerSheet);
    for (std::size_t r = first; r < last; ++r) {
      for (int c = 0; c < resultlist::kColumnCount; ++c) {
        writer.SetCell(int(r - first + 1), c, resultlist::CellText(list.rows[r], c));
      }
    }
  }
  return writer.Save(fileName);
}

}  // namespace corvale::exporter
