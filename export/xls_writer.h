// An Excel 97-2003 workbook (.xls) of text cells: BIFF8 records with a shared string table in an
// OLE2 compound file. Every cell is a text cell with the number format "@".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvale::exporter {

inline constexpr int kMaxRowsPerSheet = 65536;
inline constexpr int kMaxColumns = 256;

class XlsWriter {
 public:
  // Starts a new worksheet; later cells go there.
  void AddSheet(std::string_view name);
  // A text cell (UTF-8) of the current sheet. Rows 0..65535, columns 0..255.
  void SetCell(int row, int column, std::string_view text);

  // The whole file, in memory.
  std::vector<std::uint8_t> Build() const;
  // Writes the file under a short temporary name beside path's target (the file a symbolic link
  // leads to) and renames it into place: a failed write leaves no file behind, any legal name
  // works. Returns false when the file could not be written whole.
  bool Save(const std::string& path) const;

 private:
  struct Cell {
    std::uint16_t row;
    std::uint16_t column;
    std::uint32_t string;
  };
  struct Sheet {
    std::u16string name;
    std::vector<Cell> cells;
    int rows = 0;
    int columns = 0;
  };

  std::vector<Sheet> sheets_;
  std::vector<std::u16string> strings_;
  std::unordered_map<std::u16string, std::uint32_t> stringIndex_;
};

// UTF-8 to UTF-16, invalid bytes as U+FFFD, cut at limit code units without splitting a pair.
std::u16string ToUtf16(std::string_view text, std::size_t limit = 32767);

}  // namespace corvale::exporter
