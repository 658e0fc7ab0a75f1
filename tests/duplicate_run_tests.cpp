#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <map>

#include "app/main_window.h"
#include "duplicates/md5_digest.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

using resultlist::kDigestColumn;
using resultlist::kMarkColumn;
using resultlist::kNameColumn;

class DuplicateRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ListSuffixes(records.filter, "bin");
    records.filter.showDuplicates = true;
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
    while (!w.超级按钮1->isEnabled() && timer.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return w.超级按钮1->isEnabled();
  }

  std::map<std::string, std::string> MarkByName() {
    std::map<std::string, std::string> marks;
    for (const auto& row : records.list.rows)
      marks[row.cells[kNameColumn]] = row.cells[kMarkColumn];
    return marks;
  }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
  std::vector<std::pair<std::string, std::string>> files;
};

TEST_F(DuplicateRunTest, SearchWithDuplicatesGroupsMarksColoursAndReports) {
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
    aMembers += resultlist::IsGroupMark(marks.at(name));
  }
  EXPECT_EQ(aMembers, 1);
  EXPECT_TRUE(resultlist::IsGroupMark(marks.at("a2.bin")));
  EXPECT_EQ(marks.at("c.bin"), "无");
  EXPECT_EQ(marks.at("d.bin"), "无");
  // Groups are numbered from the top, which is sorted by digest descending.
  const std::string bigDigest = duplicates::Md5Text(std::string(2000, 'b'));
  const std::string helloDigest = duplicates::Md5Text("hello world");
  const std::string first = std::max(bigDigest, helloDigest);
  EXPECT_EQ(rows[0].cells[kDigestColumn], first);
  EXPECT_EQ(rows[0].cells[kMarkColumn], "重复文件第1组");
  for (const char* name : {"b1.bin", "b2.bin", "b3.bin"}) {
    EXPECT_EQ(marks.at(name), first == bigDigest ? "重复文件第1组" : "重复文件第2组") << name;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].cells[resultlist::kNumberColumn], std::to_string(r + 1));
    const bool member = resultlist::IsGroupMark(rows[r].cells[kMarkColumn]);
    const QVariant colour = w.Model().index(int(r), 3).data(Qt::ForegroundRole);
    EXPECT_EQ(colour.isValid() && colour.value<QColor>() == QColor(255, 0, 0), member) << r;
    if (member) {
      EXPECT_EQ(rows[r].cells[kDigestColumn],
                duplicates::Md5Text(test::ReadWholeFile(rows[r].cells[resultlist::kPathColumn])));
    }
  }
  EXPECT_EQ(rows.back().cells[kDigestColumn], "");  // rows without digest come last
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到9项文件。其中发现重复文件：2组。"});
  EXPECT_EQ(w.透明标签7->text(), QString::fromUtf8("共找到9项文件。其中发现重复文件：2组。"));
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("任务完成！"));
  EXPECT_EQ(w.进度条1->value(), w.进度条1->maximum());
  EXPECT_EQ(w.超级按钮1->text(), QString::fromUtf8("查找文件"));
}

TEST_F(DuplicateRunTest, AHeaderSortWhileDigestsArePendingKeepsEveryDigestOnItsFile) {
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  // The digests are computed but not yet delivered: sort the rows under them.
  w.OnHeaderClicked(2);
  w.OnHeaderClicked(3);
  ASSERT_TRUE(WaitForSummary(w));
  for (const auto& row : records.list.rows) {
    if (row.cells[kDigestColumn].empty()) continue;
    EXPECT_EQ(row.cells[kDigestColumn],
              duplicates::Md5Text(test::ReadWholeFile(row.cells[resultlist::kPathColumn])))
        << row.cells[kNameColumn];
  }
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到7项文件。其中发现重复文件：2组。"});
}

TEST_F(DuplicateRunTest, NoCandidatesEndsAtOnceSortedBySizeAndRenumbered) {
  for (const auto& [name, content] : files) std::remove((dir / ("t/" + name)).c_str());
  test::WriteFile(dir / "t/big.bin", "123456");
  test::WriteFile(dir / "t/small.bin", "1");
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();
  EXPECT_TRUE(w.超级按钮1->isEnabled());
  ASSERT_EQ(records.list.rows.size(), 2u);
  EXPECT_EQ(records.list.rows[0].cells[kNameColumn], "small.bin");
  EXPECT_EQ(records.list.rows[0].cells[resultlist::kNumberColumn], "1");
  EXPECT_EQ(records.list.rows[1].cells[resultlist::kNumberColumn], "2");
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
