#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "app/main_window.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

class HeaderClickTest : public ::testing::Test {
 protected:
  void Add(const char* name, std::int64_t size, std::int32_t mark = resultlist::kNoMark) {
    auto& row = test::AddRow(records.list, std::string("/d/") + name);
    row.byteSize = size;
    row.mark = mark;
    row.checked = true;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& row : records.list.rows) names.emplace_back(row.Name());
    return names;
  }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
};

TEST_F(HeaderClickTest, DirectionAlternatesAcrossColumns) {
  Add("b", 300);
  Add("a", 1536);
  Add("c", 2097152);
  MainWindow w(records, seams);
  QAbstractItemModelTester tester(&w.Model(),
                                  QAbstractItemModelTester::FailureReportingMode::Fatal);
  w.OnHeaderClicked(2);  // 名称, ascending
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c"}));
  w.OnHeaderClicked(4);  // 大小, descending: the state is shared by all columns
  EXPECT_EQ(Names(), (std::vector<std::string>{"c", "a", "b"}));
  w.OnHeaderClicked(0);  // the tick column sorts nothing and keeps the state
  w.OnHeaderClicked(4);
  EXPECT_EQ(Names(), (std::vector<std::string>{"b", "a", "c"}));
}

TEST_F(HeaderClickTest, ATickFollowsItsFileAndTheSelectionToo) {
  Add("b", 1);
  Add("a", 2);
  records.list.rows[0].checked = false;  // "b" unticked
  MainWindow w(records, seams);
  w.超级列表框1->selectRow(0);
  w.OnHeaderClicked(2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(records.list.rows[0].checked);
  EXPECT_FALSE(records.list.rows[1].checked);
  EXPECT_EQ(w.Model().index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  const auto selected = w.超级列表框1->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front().row(), 1);
}

TEST_F(HeaderClickTest, OnlyGroupMembersTurnRedAndASearchClearsTheColours) {
  Add("g1", 1, 1);
  Add("none", 2, resultlist::kNoDuplicateMark);
  Add("empty", 3, resultlist::kNoMark);
  Add("cand", 4, resultlist::kCandidateMark);
  Add("g2", 5, 12);
  records.filter.showDuplicates = true;
  MainWindow w(records, seams);
  w.OnHeaderClicked(1);
  const auto red = QColor(255, 0, 0);
  for (int r = 0; r < 5; ++r) {
    const bool member = records.list.rows[std::size_t(r)].InGroup();
    for (int c = 1; c <= 7; ++c) {
      const QVariant colour = w.Model().index(r, c).data(Qt::ForegroundRole);
      EXPECT_EQ(colour.isValid() && colour.value<QColor>() == red, member) << r << "," << c;
      // The list's own background shows through, light theme or dark.
      EXPECT_FALSE(w.Model().index(r, c).data(Qt::BackgroundRole).isValid()) << r << "," << c;
    }
    EXPECT_FALSE(w.Model().index(r, 8).data(Qt::ForegroundRole).isValid());
  }
  records.filter.showDuplicates = false;
  w.OnHeaderClicked(1);
  EXPECT_EQ(records.colours.Size(), 0u);

  records.filter.showDuplicates = true;
  w.OnHeaderClicked(1);
  ASSERT_GT(records.colours.Size(), 0u);
  records.filter.suffixText = "mp3";
  w.编辑框1->setText(QString::fromStdString(dir.Path()));
  w.RunSearch();
  EXPECT_EQ(records.colours.Size(), 0u);
}

}  // namespace
}  // namespace corvale::app
