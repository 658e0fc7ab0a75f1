#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>
#include <map>

#include "app/main_window.h"
#include "duplicates/md5_digest.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

using resultlist::CellText;
using resultlist::kDigestColumn;
using resultlist::kMarkColumn;

class DuplicateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ListSuffixes(records.filter, "bin");
    records.filter.showDuplicates = true;
  }
  void WriteSampleFiles() {
    const std::string hello = "hello world";
    const std::string big(2000, 'b');
    files = {{"a1.bin", hello},   {"sub/a2.bin", hello},    {"b1.bin", big},
             {"sub/b2.bin", big}, {"sub/deep/b3.bin", big}, {"c.bin", "hello worle"},
             {"d.bin", "12345"}};
    for (const auto& [name, content] : files) test::WriteFile(dir / ("t/" + name), content);
  }

  // Lets the queued digests arrive until the search button is back.
  bool WaitForSummary(MainWindow& w) {
    QElapsedTimer timer;
    timer.start();
    while (!w.超级按钮1->isEnabled() && timer.elapsed() < 30000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return w.超级按钮1->isEnabled();
  }

  std::map<std::string, std::string> MarkByName() {
    std::map<std::string, std::string> marks;
    for (const auto& row : records.list.rows)
      marks[std::string(row.Name())] = CellText(row, kMarkColumn);
    return marks;
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
  std::vector<std::pair<std::string, std::string>> files;
};

TEST_F(DuplicateRunTest, SearchWithDuplicatesGroupsMarksColoursAndReports) {
  WriteSampleFiles();
  // A second name of a1 must never make it its own duplicate.
  ASSERT_EQ(link((dir / "t/a1.bin").c_str(), (dir / "t/hardlink.bin").c_str()), 0);
  ASSERT_EQ(symlink((dir / "t/a1.bin").c_str(), (dir / "t/symlink.bin").c_str()), 0);
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  ASSERT_TRUE(WaitForSummary(w));

  const auto& rows = records.list.rows;
  ASSERT_EQ(rows.size(), 9u);
  const auto marks = MarkByName();
  // The first listed of a1 and its links takes part; which one that is depends on the walk.
  int aMembers = 0;
  for (const char* name : {"a1.bin", "hardlink.bin", "symlink.bin"}) {
    aMembers += marks.at(name).starts_with("重复文件第");
  }
  EXPECT_EQ(aMembers, 1);
  EXPECT_TRUE(marks.at("a2.bin").starts_with("重复文件第"));
  EXPECT_EQ(marks.at("c.bin"), "无");
  EXPECT_EQ(marks.at("d.bin"), "无");
  // Groups are numbered from the top, which is sorted by digest descending.
  const std::string bigDigest = duplicates::Md5Text(std::string(2000, 'b'));
  const std::string helloDigest = duplicates::Md5Text("hello world");
  const std::string first = std::max(bigDigest, helloDigest);
  EXPECT_EQ(CellText(rows[0], kDigestColumn), first);
  EXPECT_EQ(CellText(rows[0], kMarkColumn), "重复文件第1组");
  for (const char* name : {"b1.bin", "b2.bin", "b3.bin"}) {
    EXPECT_EQ(marks.at(name), first == bigDigest ? "重复文件第1组" : "重复文件第2组") << name;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].number, r + 1);
    const bool member = rows[r].InGroup();
    const QVariant colour = w.Model().index(int(r), 3).data(Qt::ForegroundRole);
    EXPECT_EQ(colour.isValid() && colour.value<QColor>() == QColor(255, 0, 0), member) << r;
    if (member) {
      EXPECT_EQ(CellText(rows[r], kDigestColumn),
                duplicates::Md5Text(test::ReadWholeFile(std::string(rows[r].Path()))));
    }
  }
  EXPECT_EQ(CellText(rows.back(), kDigestColumn), "");  // rows without digest come last
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到9项文件。其中发现重复文件：2组。"});
  EXPECT_EQ(w.透明标签7->text(), QString::fromUtf8("共找到9项文件。其中发现重复文件：2组。"));
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("任务完成！"));
  EXPECT_EQ(w.进度条1->value(), w.进度条1->maximum());
  EXPECT_EQ(w.超级按钮1->text(), QString::fromUtf8("查找文件"));
}

TEST_F(DuplicateRunTest, AHeaderClickDuringTheRunDoesNotSort) {
  WriteSampleFiles();
  // A pair that takes the workers a while, so the run is still under way after the search.
  const std::string large(16 << 20, 'L');
  test::WriteFile(dir / "t/large1.bin", large);
  test::WriteFile(dir / "t/large2.bin", large);
  MainWindow w(records, seams);
  w.show();
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  // The digests are computed but not delivered yet: the run is under way. A real click on the
  // "名称" header goes through the header's own input handling.
  ASSERT_FALSE(w.超级按钮1->isEnabled());
  const auto before = Names();
  QHeaderView* header = w.超级列表框1->horizontalHeader();
  const QPoint onName(header->sectionViewportPosition(2) + 10, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onName);
  EXPECT_EQ(Names(), before);
  ASSERT_TRUE(WaitForSummary(w));
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到9项文件。其中发现重复文件：3组。"});
  // After the summary a click sorts again.
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onName);
  auto sorted = Names();
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(Names(), sorted);
}

TEST_F(DuplicateRunTest, FindsEveryGroupWithFewDescriptorsLeft) {
  // 500 candidates of one size in 100 groups of five: a run must never hold a descriptor per
  // candidate, or most of them fail once the process's limit is reached.
  for (int group = 0; group < 100; ++group) {
    char content[64];
    std::snprintf(content, sizeof content, "group %03d, padded to one size", group);
    for (int copy = 0; copy < 5; ++copy) {
      test::WriteFile(dir / ("t/g" + std::to_string(group) + "/" + std::to_string(copy) + ".bin"),
                      content);
    }
  }
  test::ScopedFileLimit limit(64);
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  ASSERT_TRUE(WaitForSummary(w));
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到500项文件。其中发现重复文件：100组。"});
  for (const auto& row : records.list.rows) EXPECT_TRUE(row.InGroup()) << row.Path();
}

TEST_F(DuplicateRunTest, NoCandidatesEndsAtOnceSortedBySizeAndRenumbered) {
  test::WriteFile(dir / "t/big.bin", "123456");
  test::WriteFile(dir / "t/small.bin", "1");
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  EXPECT_TRUE(w.超级按钮1->isEnabled());
  EXPECT_EQ(Names(), (std::vector<std::string>{"small.bin", "big.bin"}));
  EXPECT_EQ(records.list.rows[0].number, 1u);
  EXPECT_EQ(records.list.rows[1].number, 2u);
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到2项文件。没有发现重复文件。"});

  seams.messages.clear();
  w.编辑框1->setText(QString::fromStdString(dir / "empty"));
  w.RunSearch();
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到0项文件。没有发现重复文件。"});
  EXPECT_TRUE(w.超级按钮1->isEnabled());
}

}  // namespace
}  // namespace corvale::app
