#include <gtest/gtest.h>

#include "resultlist/cell_colours.h"
#include "resultlist/result_list.h"
#include "resultlist/sort.h"

namespace corvale::resultlist {
namespace {

// A list whose rows carry the given texts in one column; column 2 names each row by its place.
ResultList ListOf(int column, const std::vector<std::string>& texts) {
  ResultList list;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ResultRow& row = list.Append();
    row.cells[std::size_t(column)] = texts[i];
    row.cells[kNameColumn] = "r" + std::to_string(i);
  }
  return list;
}

std::vector<std::string> Names(const ResultList& list) {
  std::vector<std::string> names;
  for (const auto& row : list.rows) names.push_back(row.cells[kNameColumn]);
  return names;
}

TEST(Sort, ByKind) {
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    int column;
    CompareKind kind;
    bool ascending;
    V texts;
    V expected;  // row names in the new order
  } cases[] = {
      {"size texts without byte sizes sort by leading number",
       kSizeColumn,
       CompareKind::Number,
       true,
       {"300 B", "2.00 MB", "1.50 KB"},
       {"r2", "r1", "r0"}},
      {"no leading number counts as 0",
       kNumberColumn,
       CompareKind::Number,
       true,
       {"7", "x", "-1"},
       {"r2", "r1", "r0"}},
      {"numbers equal within 1e-7 tie",
       kNumberColumn,
       CompareKind::Number,
       true,
       {"5.00000001", "5", "4"},
       {"r2", "r0", "r1"}},
      {"ties ascending keep their order",
       kNumberColumn,
       CompareKind::Number,
       true,
       {"5", "5"},
       {"r0", "r1"}},
      {"ties descending are the exact reverse",
       kNumberColumn,
       CompareKind::Number,
       false,
       {"5", "5"},
       {"r1", "r0"}},
      {"text as unsigned bytes, case-sensitive",
       kNameColumn + 1,
       CompareKind::Text,
       true,
       {"b", "B", "é", "a", "Z"},
       {"r1", "r4", "r3", "r0", "r2"}},
      {"text descending",
       kPathColumn,
       CompareKind::Text,
       false,
       {"a", "c", "b"},
       {"r1", "r2", "r0"}},
      {"dates with and without time; unparsable is the oldest",
       kModifiedColumn,
       CompareKind::DateTime,
       true,
       {"2023-11-14 22:13:20", "2023-11-14 ", "garbage", "2023-11-14 22:13:19", "1999-02-30 "},
       {"r2", "r4", "r1", "r3", "r0"}},
      {"dates descending",
       kCreatedColumn,
       CompareKind::DateTime,
       false,
       {"2001-01-01 00:00:00", "2024-02-29 12:00:00", ""},
       {"r1", "r0", "r2"}},
  };
  for (const auto& c : cases) {
    auto list = ListOf(c.column, c.texts);
    if (c.column == kNameColumn + 1) {  // text case sorts the path column, names stay labels
      SortResultList(list, kPathColumn, c.kind, c.ascending);
    } else {
      SortResultList(list, c.column, c.kind, c.ascending);
    }
    EXPECT_EQ(Names(list), c.expected) << c.what;
  }
}

TEST(Sort, SizeColumnUsesByteSizesWhereKnown) {
  auto list = ListOf(kSizeColumn, {"300 B", "2.00 MB", "1.50 KB", "?"});
  list.rows[0].byteSize = 300;
  list.rows[1].byteSize = 2097152;
  list.rows[2].byteSize = 1536;
  // Row 3 has no known size: its text's leading number (0) is its key.
  SortResultList(list, kSizeColumn, CompareKind::Number, true);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"r3", "r0", "r2", "r1"}));
  SortResultList(list, kSizeColumn, CompareKind::Number, false);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"r1", "r2", "r0", "r3"}));
}

TEST(Sort, TicksAndFactsTravelWithTheirRows) {
  auto list = ListOf(kPathColumn, {"e", "d", "c", "b", "a"});
  for (auto& row : list.rows) row.checked = true;
  list.rows[1].checked = false;  // "d"
  list.rows[1].byteSize = 42;
  SortResultList(list, kPathColumn, CompareKind::Text, true);
  ASSERT_EQ(list.rows[3].cells[kPathColumn], "d");
  EXPECT_FALSE(list.rows[3].checked);
  EXPECT_EQ(list.rows[3].byteSize, 42);
  EXPECT_EQ(list.CheckedCount(), 4u);
}

TEST(Sort, EmptyAndSingleRowListsStay) {
  ResultList empty;
  SortResultList(empty, kNameColumn, CompareKind::Text, true);
  EXPECT_TRUE(empty.rows.empty());
  auto one = ListOf(kNameColumn, {"x"});
  SortResultList(one, kNameColumn, CompareKind::Text, false);
  EXPECT_EQ(Names(one), std::vector<std::string>{"r0"});
}

TEST(Sort, HeaderKinds) {
  const struct {
    int column;
    bool sorts;
    CompareKind kind;
  } cases[] = {{0, false, {}},
               {1, true, CompareKind::Number},
               {2, true, CompareKind::Text},
               {3, true, CompareKind::Text},
               {4, true, CompareKind::Number},
               {5, true, CompareKind::DateTime},
               {6, true, CompareKind::DateTime},
               {7, true, CompareKind::Text},
               {8, true, CompareKind::Text},
               {9, false, {}}};
  for (const auto& c : cases) {
    CompareKind kind{};
    EXPECT_EQ(HeaderSortKind(c.column, kind), c.sorts) << c.column;
    if (c.sorts) {
      EXPECT_EQ(kind, c.kind) << c.column;
    }
  }
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
