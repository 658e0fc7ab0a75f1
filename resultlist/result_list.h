// ResultList, the document of the program: one row per listed file with its nine cell texts, its
// tick and the facts behind the texts that later commands need.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvale::resultlist {

enum Column : int {
  kTickColumn = 0,
  kNumberColumn = 1,    // 序号
  kNameColumn = 2,      // 名称
  kPathColumn = 3,      // 路径
  kSizeColumn = 4,      // 大小
  kCreatedColumn = 5,   // 创建时间
  kModifiedColumn = 6,  // 修改时间
  kMarkColumn = 7,      // 是否存在重复
  kDigestColumn = 8,    // md5
  kColumnCount = 9,
};

inline constexpr std::array<const char*, kColumnCount> kColumnTitles = {
    "", "序号", "名称", "路径", "大小", "创建时间", "修改时间", "是否存在重复", "md5"};
inline constexpr std::array<int, kColumnCount> kColumnWidths = {25,  40,  140, 420, 70,
                                                                135, 135, 130, 20};
inline constexpr std::array<bool, kColumnCount> kColumnCentred = {false, true, false, false, true,
                                                                  true,  true, true,  false};

struct ResultRow {
  std::array<std::string, kColumnCount> cells;
  bool checked = false;
  // Facts behind the texts, as they were when the row was listed. byteSize < 0: unknown.
  std::int64_t byteSize = -1;
  dev_t device = 0;
  ino_t inode = 0;
  std::int64_t modifiedNs = 0;
  // Identity of the row for the length of the program: results computed elsewhere find their row
  // by it, whatever sorts happened meanwhile.
  std::uint64_t id = 0;
};

// The duplicate marks of column 7.
inline constexpr std::string_view kCandidateMark = "加入识别";
inline constexpr std::string_view kNoDuplicateMark = "无";
inline constexpr std::string_view kGroupMarkPrefix = "重复文件第";
inline std::string GroupMark(int group) {
  return std::string(kGroupMarkPrefix) + std::to_string(group) + "组";
}
inline bool IsGroupMark(std::string_view mark) { return mark.starts_with(kGroupMarkPrefix); }

struct ResultList {
  std::vector<ResultRow> rows;
  std::uint64_t nextId = 1;

  ResultRow& Append() {
    ResultRow& row = rows.emplace_back();
    row.id = nextId++;
    return row;
  }
  std::size_t CheckedCount() const;
};

}  // namespace corvale::resultlist
