// ResultList, the document of the program: one row per listed file with the facts behind its nine
// cells. A row keeps its path once (the name is its tail) and its size, times, identity, mark and
// digest as numbers; the cell texts are made from them when they are shown, copied or exported.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
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

using Digest = std::array<std::uint8_t, 16>;

// The duplicate mark of column 7: none yet (""), a candidate ("加入识别"), no twin ("无"), or
// the number of its group ("重复文件第" + N + "组") from 1 on.
inline constexpr std::int32_t kNoMark = 0;
inline constexpr std::int32_t kCandidateMark = -1;
inline constexpr std::int32_t kNoDuplicateMark = -2;

struct ResultRow {
  const char* path = "";  // NUL-terminated, held by the list's text store
  std::uint32_t pathLength = 0;
  std::uint32_t nameOffset = 0;  // where the file name starts in the path
  std::int64_t byteSize = 0;
  std::int64_t createdSeconds = 0;  // birth time where the file system records one
  std::int64_t modifiedNs = 0;
  dev_t device = 0;
  ino_t inode = 0;
  // Identity of the row for the length of the program: results computed elsewhere find their row
  // by it, whatever sorts happened meanwhile.
  std::uint64_t id = 0;
  std::uint32_t number = 0;  // 序号
  std::int32_t mark = kNoMark;
  Digest digest{};
  bool hasDigest = false;
  bool checked = false;

  std::string_view Path() const { return {path, pathLength}; }
  std::string_view Name() const { return Path().substr(nameOffset); }
  bool InGroup() const { return mark > 0; }
};

// The texts of column 7 and 8.
std::string MarkText(std::int32_t mark);
std::string DigestText(const Digest& digest);
// The text a cell shows: the row's facts formatted for its column.
std::string CellText(const ResultRow& row, int column);

// Append-only storage for the paths of the rows: blocks of 1 MiB, so a million rows are a few
// hundred allocations and a path never moves while its row lives.
class TextStore {
 public:
  // Stores a + b as one NUL-terminated text.
  const char* Add(std::string_view a, std::string_view b);
  void Clear();

 private:
  static constexpr std::size_t kBlockBytes = std::size_t(1) << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t capacity_ = 0;  // of the last block
  std::size_t used_ = 0;
};

using Rows = std::deque<ResultRow>;

class ResultList {
 public:
  ResultList() = default;
  // Rows point into the list's own text store: a list moves, it is never copied.
  ResultList(ResultList&&) = default;
  ResultList& operator=(ResultList&&) = default;
  ResultList(const ResultList&) = delete;
  ResultList& operator=(const ResultList&) = delete;

  // A new row at the end for folder + name (folder ends in "/"), numbered by its place.
  ResultRow& Append(std::string_view folder, std::string_view name);
  // Removes every row.
  void Clear();
  std::size_t CheckedCount() const;

  // A deque, not a vector: growing never moves the rows already there, so a list of a million
  // rows grows without the stalls of copying all of them at each doubling.
  Rows rows;

 private:
  TextStore texts_;
  std::uint64_t nextId_ = 1;
};

}  // namespace corvale::resultlist
