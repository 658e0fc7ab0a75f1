#include "resultlist/result_list.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "platform/file_system.h"

namespace corvale::resultlist {

std::string MarkText(std::int32_t mark) {
  switch (mark) {
    case kNoMark:
      return {};
    case kCandidateMark:
      return "加入识别";
    case kNoDuplicateMark:
      return "无";
    default:
      return "重复文件第" + std::to_string(mark) + "组";
  }
}

std::string DigestText(const Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text(32, '0');
  for (std::size_t i = 0; i < digest.size(); ++i) {
    text[2 * i] = kHex[digest[i] >> 4];
    text[2 * i + 1] = kHex[digest[i] & 15];
  }
  return text;
}

std::string CellText(const ResultRow& row, int column) {
  switch (column) {
    case kNumberColumn:
      return std::to_string(row.number);
    case kNameColumn:
      return std::string(row.Name());
    case kPathColumn:
      return std::string(row.Path());
    case kSizeColumn:
      return platform::FormatByteSize(row.byteSize);
    case kCreatedColumn:
      return platform::LocalTimeText({time_t(row.createdSeconds), 0});
    case kModifiedColumn:
      return platform::LocalTimeText(
          {time_t(row.modifiedNs / 1000000000), long(row.modifiedNs % 1000000000)});
    case kMarkColumn:
      return MarkText(row.mark);
    case kDigestColumn:
      return row.hasDigest ? DigestText(row.digest) : std::string();
    default:
      return {};
  }
}

const char* TextStore::Add(std::string_view a, std::string_view b) {
  const std::size_t bytes = a.size() + b.size() + 1;
  if (bytes > capacity_ - used_) {
    capacity_ = std::max(bytes, kBlockBytes);
    blocks_.emplace_back(new char[capacity_]);
    used_ = 0;
  }
  char* text = blocks_.back().get() + used_;
  std::memcpy(text, a.data(), a.size());
  std::memcpy(text + a.size(), b.data(), b.size());
  text[a.size() + b.size()] = '\0';
  used_ += bytes;
  return text;
}

void TextStore::Clear() {
  blocks_.clear();
  used_ = capacity_ = 0;
}

ResultRow& ResultList::Append(std::string_view folder, std::string_view name) {
  ResultRow& row = rows.emplace_back();
  row.path = texts_.Add(folder, name);
  row.pathLength = std::uint32_t(folder.size() + name.size());
  row.nameOffset = std::uint32_t(folder.size());
  row.id = nextId_++;
  row.number = std::uint32_t(rows.size());
  return row;
}

void ResultList::Clear() {
  // The memory goes back too: a list of a million rows must not stay resident after a new search.
  Rows().swap(rows);
  texts_.Clear();
}

std::size_t ResultList::CheckedCount() const {
  return std::size_t(
      std::count_if(rows.begin(), rows.end(), [](const ResultRow& r) { return r.checked; }));
}

}  // namespace corvale::resultlist
