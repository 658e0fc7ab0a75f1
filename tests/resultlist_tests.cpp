#include <gtest/gtest.h>

#include "resultlist/cell_colours.h"
#include "resultlist/result_list.h"
#include "resultlist/sort.h"
#include "tests/test_support.h"

namespace corvale::resultlist {
namespace {

// A list of rows named r0, r1, … whose facts the caller sets.
ResultList Rows(std::size_t count) {
  ResultList list;
  for (std::size_t i = 0; i < count; ++i) test::AddRow(list, "/d/r" + std::to_string(i));
  return list;
}

std::vector<std::string> Names(const ResultList& list) {
  std::vector<std::string> names;
  for (const auto& row : list.rows) names.emplace_back(row.Name());
  return names;
}

Digest DigestOf(std::uint8_t first) {
  Digest d{};
  d[0] = first;
  return d;
}

TEST(Sort, ByColumn) {
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    int column;
    bool ascending;
    void (*set)(ResultList&);
    V expected;  // row names in the new order
  } cases[] = {
      {"row numbers as numbers",
       kNumberColumn,
       true,
       [](ResultList& l) {
         l.rows[0].number = 10;
         l.rows[1].number = 9;
         l.rows[2].number = 100;
       },
       {"r1", "r0", "r2"}},
      {"byte sizes, not size texts",
       kSizeColumn,
       true,
       [](ResultList& l) {
         l.rows[0].byteSize = 300;
         l.rows[1].byteSize = 2097152;
         l.rows[2].byteSize = 1536;
       },
       {"r0", "r2", "r1"}},
      {"ties ascending keep their order",
       kSizeColumn,
       true,
       [](ResultList&) {},
       {"r0", "r1", "r2"}},
      {"ties descending are the exact reverse",
       kSizeColumn,
       false,
       [](ResultList&) {},
       {"r2", "r1", "r0"}},
      {"modification times to the second, as shown",
       kModifiedColumn,
       true,
       [](ResultList& l) {
         l.rows[0].modifiedNs = 1700000000'900000000;
         l.rows[1].modifiedNs = 1700000000'100000000;  // the same second: a tie
         l.rows[2].modifiedNs = 1600000000'000000000;
       },
       {"r2", "r0", "r1"}},
      {"creation times descending",
       kCreatedColumn,
       false,
       [](ResultList& l) {
         l.rows[0].createdSeconds = 1;
         l.rows[1].createdSeconds = 3;
         l.rows[2].createdSeconds = 2;
       },
       {"r1", "r2", "r0"}},
      {"marks as their texts",
       kMarkColumn,
       true,
       [](ResultList& l) {
         l.rows[0].mark = 10;  // 重复文件第10组
         l.rows[1].mark = kNoMark;
         l.rows[2].mark = 2;  // 重复文件第2组 sorts after 第10组 as text
       },
       {"r1", "r0", "r2"}},
      {"digests with the empty one first",
       kDigestColumn,
       true,
       [](ResultList& l) {
         l.rows[0].digest = DigestOf(0xff);
         l.rows[0].hasDigest = true;
         l.rows[2].digest = DigestOf(0x01);
         l.rows[2].hasDigest = true;
       },
       {"r1", "r2", "r0"}},
  };
  for (const auto& c : cases) {
    auto list = Rows(3);
    c.set(list);
    SortResultList(list, c.column, c.ascending);
    EXPECT_EQ(Names(list), c.expected) << c.what;
  }
}

TEST(Sort, TextsAsUnsignedBytesCaseSensitive) {
  ResultList list;
  for (const char* name : {"b", "B", "é", "a", "Z"}) test::AddRow(list, std::string("/d/") + name);
  SortResultList(list, kNameColumn, true);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "Z", "a", "b", "é"}));
  SortResultList(list, kPathColumn, false);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"é", "b", "a", "Z", "B"}));
}

TEST(Sort, TicksAndFactsTravelWithTheirRows) {
  auto list = Rows(5);
  for (auto& row : list.rows) row.checked = true;
  list.rows[1].checked = false;
  list.rows[1].byteSize = 42;
  list.rows[1].number = 99;
  SortResultList(list, kNumberColumn, true);
  ASSERT_EQ(list.rows[4].Name(), "r1");
  EXPECT_FALSE(list.rows[4].checked);
  EXPECT_EQ(list.rows[4].byteSize, 42);
  EXPECT_EQ(list.rows[4].Path(), "/d/r1");
  EXPECT_EQ(list.CheckedCount(), 4u);
}

TEST(Sort, EmptyOneRowAndTheTickColumnStay) {
  ResultList empty;
  SortResultList(empty, kNameColumn, true);
  EXPECT_TRUE(empty.rows.empty());
  auto list = Rows(2);
  list.rows[0].byteSize = 2;
  SortResultList(list, kTickColumn, true);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"r0", "r1"}));
  for (int column = 0; column <= 9; ++column) {
    EXPECT_EQ(HeaderSorts(column), column >= 1 && column <= 8) << column;
  }
}

TEST(Cells, TextsFromTheFacts) {
  test::ScopedTz tz("UTC");
  ResultList list;
  ResultRow& row = test::AddRow(list, "/音乐/预告样片.mp4");
  row.byteSize = 1332;
  row.createdSeconds = 1700000000;
  row.modifiedNs = 1699920000'500000000;
  row.digest = {0x00, 0x0a, 0xff};
  const struct {
    int column;
    std::int32_t mark;
    bool digest;
    const char* text;
  } cases[] = {
      {kTickColumn, kNoMark, false, ""},
      {kNumberColumn, kNoMark, false, "1"},
      {kNameColumn, kNoMark, false, "预告样片.mp4"},
      {kPathColumn, kNoMark, false, "/音乐/预告样片.mp4"},
      {kSizeColumn, kNoMark, false, "1.30 KB"},
      {kCreatedColumn, kNoMark, false, "2023-11-14 22:13:20"},
      {kModifiedColumn, kNoMark, false, "2023-11-14 00:00:00"},
      {kMarkColumn, kNoMark, false, ""},
      {kMarkColumn, kCandidateMark, false, "加入识别"},
      {kMarkColumn, kNoDuplicateMark, false, "无"},
      {kMarkColumn, 12, false, "重复文件第12组"},
      {kDigestColumn, kNoMark, false, ""},
      {kDigestColumn, kNoMark, true, "000aff00000000000000000000000000"},
  };
  for (const auto& c : cases) {
    row.mark = c.mark;
    row.hasDigest = c.digest;
    EXPECT_EQ(CellText(row, c.column), c.text) << c.column << " " << c.text;
  }
  EXPECT_EQ(test::AddRow(list, "/x/second").number, 2u);
}

TEST(Cells, PathsStayPutWhileTheListGrows) {
  ResultList list;
  const ResultRow& first = test::AddRow(list, "/a/first.txt");
  const char* text = first.path;
  for (int i = 0; i < 20000; ++i) test::AddRow(list, "/a/" + std::string(100, 'x'));
  EXPECT_EQ(list.rows[0].path, text);
  EXPECT_EQ(list.rows[0].Path(), "/a/first.txt");
  EXPECT_EQ(list.rows.back().Name(), std::string(100, 'x'));
  list.Clear();
  EXPECT_TRUE(list.rows.empty());
  EXPECT_EQ(test::AddRow(list, "/b/c").Path(), "/b/c");
}

TEST(CellColours, EntryRules) {
  CellColourTable table;
  EXPECT_FALSE(table.ClearCellColours());  // nothing set yet: nothing to do
  EXPECT_TRUE(table.SetCellColour(1, 2, kRed));
  EXPECT_FALSE(table.SetCellColour(1, 2, kRed));  // same colours: no change
  EXPECT_TRUE(table.SetCellColour(1, 2, 0x00FF00, 0x000000));
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.Find(1, 2)->text, 0x00FF00u);
  EXPECT_EQ(table.Find(1, 2)->background, 0x000000u);
  EXPECT_FALSE(table.Find(2, 1));
  EXPECT_TRUE(table.SetCellColour(1, 2, kListTextColour));  // the list's own colours remove it
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_FALSE(table.SetCellColour(3, 3, kListTextColour, kListBackground));  // never added
  EXPECT_EQ(table.Size(), 0u);
  table.SetCellColour(0, 1, kRed);
  EXPECT_TRUE(table.ClearCellColours());
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_FALSE(table.ClearCellColours());
}

}  // namespace
}  // namespace corvale::resultlist
