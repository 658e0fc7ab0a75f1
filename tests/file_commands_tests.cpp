#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/main_window.h"
#include "platform/file_system.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

using platform::MessageResult;

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ListSuffixes(records.filter, "txt"); }
  // Lists the files of dir/src through a real search.
  MainWindow& Search(std::initializer_list<std::pair<const char*, const char*>> files) {
    for (const auto& [name, content] : files) test::WriteFile(dir / "src/" + name, content);
    window = std::make_unique<MainWindow>(records, seams);
    window->编辑框1->setText(QString::fromStdString(dir / "src"));
    window->RunSearch();
    seams.messages.clear();
    return *window;
  }
  int RowOf(const char* name) {
    for (std::size_t r = 0; r < records.list.rows.size(); ++r) {
      if (records.list.rows[r].Name() == name) return int(r);
    }
    return -1;
  }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
  std::unique_ptr<MainWindow> window;
};

TEST_F(FileCommandsTest, CopyTicksClashesAndCounts) {
  auto& w = Search({{"a.txt", "A"}, {"b.txt", "B"}, {"sub/a.txt", "A2"}, {"c.txt", "C"}});
  test::WriteFile(dir / "out/a.txt", "existing");
  records.list.rows[std::size_t(RowOf("c.txt"))].checked = false;
  w.编辑框2->setText(QString::fromStdString(dir / "out"));
  w.超级按钮5->click();
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"复制任务完成，共完成复制对象：3个。其中有重名的：2个。"});
  EXPECT_EQ(test::ReadWholeFile(dir / "out/a.txt"), "existing");
  EXPECT_EQ(test::ReadWholeFile(dir / "out/b.txt"), "B");
  const std::string clash1 = test::ReadWholeFile(dir / "out/a（有重名的——Corvale）.txt");
  const std::string clash2 = test::ReadWholeFile(dir / "out/a（有重名的——Corvale）2.txt");
  EXPECT_TRUE(clash1 + clash2 == "AA2" || clash1 + clash2 == "A2A");  // walk order decides
  EXPECT_FALSE(platform::PathExists(dir / "out/c.txt"));
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("复制完成。"));
  EXPECT_EQ(w.进度条1->maximum(), 3);
  EXPECT_EQ(w.进度条1->value(), 3);
  EXPECT_EQ(w.超级按钮5->text(), QString::fromUtf8("复制到目标文件夹"));
  EXPECT_TRUE(w.超级按钮5->isEnabled());
  EXPECT_EQ(records.list.rows.size(), 4u);  // rows stay
}

TEST_F(FileCommandsTest, MoveCountsOnlyWhatArrived) {
  auto& w = Search({{"a.txt", "A"}, {"b.txt", "B"}});
  test::WriteFile(dir / "out/b.txt", "existing");
  std::remove((dir / "src/a.txt").c_str());  // vanished since the search
  w.编辑框2->setText(QString::fromStdString(dir / "out"));
  w.超级按钮2->click();
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{
                "移动文件任务完成，共完成移动文件：1个。其中目标文件夹中有重名的：1个。"});
  EXPECT_EQ(test::ReadWholeFile(dir / "out/b（有重名的——Corvale）.txt"), "B");
  EXPECT_FALSE(platform::PathExists(dir / "src/b.txt"));
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("剪切完成。"));
  EXPECT_EQ(w.超级按钮2->text(), QString::fromUtf8("剪切到目标文件夹"));
}

TEST_F(FileCommandsTest, NothingTickedLeavesAnEmptyIdleBar) {
  auto& w = Search({{"a.txt", "A"}});
  records.list.rows[0].checked = false;
  w.编辑框2->setText(QString::fromStdString(dir.Path()));
  w.超级按钮5->click();
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"复制任务完成，共完成复制对象：0个。其中有重名的：0个。"});
  EXPECT_TRUE(w.进度条1->isVisibleTo(&w));
  EXPECT_GT(w.进度条1->maximum(), w.进度条1->minimum());  // 0..0 would be the busy animation
  EXPECT_EQ(w.进度条1->value(), w.进度条1->minimum());
}

TEST_F(FileCommandsTest, ANameThatIsNotUtf8ArrivesByteForByte) {
  auto& w = Search({{"bad\xff\xfe.txt", "raw"}});
  w.编辑框2->setText(QString::fromStdString(dir / "out"));
  test::MakeDirs(dir / "out");
  w.超级按钮5->click();
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"复制任务完成，共完成复制对象：1个。其中有重名的：0个。"});
  EXPECT_EQ(test::ReadWholeFile(dir / "out/bad\xff\xfe.txt"), "raw");
}

TEST_F(FileCommandsTest, TargetThatIsNoFolderIsRefusedBeforeAnythingIsTouched) {
  auto& w = Search({{"a.txt", "A"}});
  test::WriteFile(dir / "afile", "");
  for (const std::string& target : {std::string(), dir / "afile", dir / "missing"}) {
    seams.messages.clear();
    w.编辑框2->setText(QString::fromStdString(target));
    w.超级按钮2->click();
    EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"请设置目标目录！"}) << target;
  }
  EXPECT_TRUE(platform::PathExists(dir / "src/a.txt"));
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("剪切完成。"));
}

TEST_F(FileCommandsTest, DeleteCheckedAsksAndCountsWhatWent) {
  auto& w = Search({{"a.txt", "A"}, {"b.txt", "B"}, {"c.txt", "C"}});
  records.list.rows[std::size_t(RowOf("c.txt"))].checked = false;
  chmod((dir / "src/b.txt").c_str(), 0444);  // read-only: refused
  seams.answers = {MessageResult::Cancel};
  w.超级按钮7->click();
  EXPECT_EQ(seams.messages.at(0).text, "确定要删除列表框中选中的2项文件？");
  EXPECT_EQ(seams.messages.at(0).caption, "删除文件");
  EXPECT_EQ(seams.messages.at(0).icon, platform::MessageIcon::Warning);
  EXPECT_EQ(seams.messages.size(), 1u);
  EXPECT_TRUE(platform::PathExists(dir / "src/a.txt"));
  EXPECT_EQ(w.状态条1->PaneCount(), 0);

  seams.messages.clear();
  w.超级按钮7->click();
  EXPECT_EQ(seams.MessageTexts(),
            (std::vector<std::string>{"确定要删除列表框中选中的2项文件？",
                                      "已删除1个文件，1个文件无法删除，未删除。"}));
  EXPECT_FALSE(platform::PathExists(dir / "src/a.txt"));
  EXPECT_TRUE(platform::PathExists(dir / "src/b.txt"));
  EXPECT_TRUE(platform::PathExists(dir / "src/c.txt"));

  seams.messages.clear();
  chmod((dir / "src/b.txt").c_str(), 0644);
  records.list.rows[std::size_t(RowOf("a.txt"))].checked = false;  // gone already
  w.超级按钮7->click();
  EXPECT_EQ(seams.MessageTexts().back(), "完成删除任务，共删除文件：1个。");
}

TEST_F(FileCommandsTest, OneClickDeletionKeepsTheFirstOfEachGroup) {
  auto& w = Search({{"1.txt", "x"}, {"2.txt", "x"}, {"3.txt", "y"}, {"4.txt", "x"}});
  const std::int32_t marks[] = {1, 1, resultlist::kNoDuplicateMark, 1};
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
    records.list.rows[std::size_t(RowOf(name))].mark = marks[name[0] - '1'];
  }
  w.OnHeaderClicked(2);  // ascending by name: rows 1, 2, 3, 4
  w.超级按钮10->click();
  EXPECT_EQ(seams.MessageTexts(),
            (std::vector<std::string>{
                "您确认要删除2个重复的文件吗？删除后您可以重新查找确认已删除。", "删除成功！"}));
  EXPECT_EQ(seams.messages[0].icon, platform::MessageIcon::Question);
  EXPECT_TRUE(platform::PathExists(dir / "src/1.txt"));
  EXPECT_FALSE(platform::PathExists(dir / "src/2.txt"));
  EXPECT_TRUE(platform::PathExists(dir / "src/3.txt"));
  EXPECT_FALSE(platform::PathExists(dir / "src/4.txt"));
}

TEST_F(FileCommandsTest, OneClickDeletionSaysWhatItKept) {
  auto& w = Search({{"1.txt", "x"}, {"2.txt", "x"}, {"3.txt", "x"}, {"4.txt", "x"}});
  for (auto& row : records.list.rows) row.mark = 1;
  w.OnHeaderClicked(2);  // 1, 2, 3, 4: the first is kept
  seams.answers = {MessageResult::Cancel};
  w.超级按钮10->click();
  EXPECT_EQ(seams.messages.size(), 1u);  // cancelled: nothing deleted, nothing more said
  EXPECT_TRUE(platform::PathExists(dir / "src/2.txt"));

  seams.messages.clear();
  test::WriteFile(dir / "src/3.txt", "y");   // changed since the run: kept
  chmod((dir / "src/4.txt").c_str(), 0444);  // read-only: the strict delete refuses it
  w.超级按钮10->click();
  EXPECT_EQ(seams.MessageTexts().back(), "已删除1个文件，2个文件已改变或无法删除，未删除。");
  EXPECT_FALSE(platform::PathExists(dir / "src/2.txt"));
  EXPECT_TRUE(platform::PathExists(dir / "src/3.txt"));
  EXPECT_TRUE(platform::PathExists(dir / "src/4.txt"));
  EXPECT_EQ(records.list.rows.size(), 4u);  // the rows stay
}

TEST_F(FileCommandsTest, DeletingTheCurrentFileSaysWhenItCouldNot) {
  auto& w = Search({{"a.txt", "A"}});
  w.超级列表框1->selectRow(0);
  seams.answers = {MessageResult::Cancel};
  w.DeleteCurrentFile();
  EXPECT_EQ(seams.messages.size(), 1u);
  EXPECT_TRUE(platform::PathExists(dir / "src/a.txt"));
  chmod((dir / "src/a.txt").c_str(), 0444);  // read-only: refused
  seams.messages.clear();
  w.DeleteCurrentFile();
  EXPECT_EQ(seams.MessageTexts(),
            (std::vector<std::string>{"确定要删除文件：  a.txt", "删除失败！"}));
  EXPECT_TRUE(platform::PathExists(dir / "src/a.txt"));
  EXPECT_EQ(records.list.rows.size(), 1u);
}

TEST_F(FileCommandsTest, RowActionsAndTheirGuards) {
  auto& w = Search({{"a b.txt", "A"}});
  const struct {
    void (MainWindow::*action)();
    const char* message;
  } guards[] = {
      {&MainWindow::CopyRowText, "选中项内容为空，无法执行复制本行命令！"},
      {&MainWindow::CopyFileName, "选中项内容为空，无法执行复制文件名命令！"},
      {&MainWindow::CopyFilePath, "选中项内容为空，无法执行复制路径命令！"},
      {&MainWindow::DeleteCurrentFile, "选中项内容为空，无法执行删除命令！"},
      {&MainWindow::ShowInFolder, "选中项内容为空，无法执行打开所在文件夹命令！"},
  };
  for (const auto& g : guards) {
    seams.messages.clear();
    (w.*g.action)();
    EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{g.message});
  }
  seams.messages.clear();
  w.OpenByDoubleClick();  // no current row: nothing happens
  EXPECT_TRUE(seams.messages.empty());

  w.超级列表框1->selectRow(0);
  const auto& row = records.list.rows[0];
  w.CopyRowText();
  EXPECT_EQ(seams.clipboard, "1 a b.txt " + (dir / "src/a b.txt") + " 1 B " +
                                 resultlist::CellText(row, 5) + " " + resultlist::CellText(row, 6));
  w.CopyFileName();
  EXPECT_EQ(seams.clipboard, "a b.txt");
  w.CopyFilePath();
  EXPECT_EQ(seams.clipboard, dir / "src/a b.txt");
  w.ShowInFolder();
  EXPECT_EQ(seams.revealed, std::vector<std::string>{dir / "src/a b.txt"});
  w.OpenByDoubleClick();
  EXPECT_EQ(seams.opened, std::vector<std::string>{dir / "src/a b.txt"});

  seams.answers = {MessageResult::Ok};
  w.DeleteCurrentFile();
  EXPECT_EQ(seams.MessageTexts().back(), "确定要删除文件：  a b.txt");
  EXPECT_FALSE(platform::PathExists(dir / "src/a b.txt"));
  w.OpenByDoubleClick();
  EXPECT_EQ(seams.MessageTexts().back(), "该文件已不存在，是否移动了该文件？");
}

TEST_F(FileCommandsTest, SelectAllBothWays) {
  auto& w = Search({{"a.txt", ""}, {"b.txt", ""}});
  ASSERT_TRUE(w.选择框1->isChecked());
  w.选择框1->click();
  EXPECT_EQ(records.list.CheckedCount(), 0u);
  w.选择框1->click();
  EXPECT_EQ(records.list.CheckedCount(), 2u);
  EXPECT_EQ(w.Model().index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

TEST_F(FileCommandsTest, ARightPressMakesTheRowUnderTheMouseCurrent) {
  auto& w = Search({{"a.txt", ""}, {"b.txt", ""}});
  w.show();
  w.超级列表框1->selectRow(0);
  const QPoint onSecondRow = w.超级列表框1->visualRect(w.Model().index(1, 2)).center();
  w.OnListRightPress(onSecondRow);
  EXPECT_EQ(w.CurrentRow(), &records.list.rows[1]);
  EXPECT_TRUE(w.编辑菜单->isVisible());
  w.编辑菜单->hide();
  w.CopyFileName();
  EXPECT_EQ(seams.clipboard, records.list.rows[1].Name());
}

TEST_F(FileCommandsTest, TheMenuHasItsItems) {
  auto& w = Search({});
  QStringList items;
  for (QAction* action : w.编辑菜单->actions()) {
    items << (action->isSeparator() ? QString("-") : action->text());
  }
  EXPECT_EQ(items.join("|"),
            QString::fromUtf8("复制本行|复制文件名|复制路径|删除文件|-|打开所在文件夹"));
}

}  // namespace
}  // namespace corvale::app

namespace corvale::app {
namespace {

TEST_F(FileCommandsTest, ExportWritesTheListOrNothing) {
  auto& w = Search({{"a.txt", "A"}, {"b.txt", "B"}});
  seams.saveAnswer.reset();
  w.超级按钮6->click();  // cancelled: nothing written, nothing shown
  EXPECT_TRUE(seams.messages.empty());
  EXPECT_EQ(seams.saveFilters, std::vector<std::string>{"*.xls"});

  seams.saveAnswer = dir / "report";
  w.超级按钮6->click();
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"导出完成！"});
  EXPECT_TRUE(platform::PathExists(dir / "report.xls"));
  EXPECT_GT(test::ReadWholeFile(dir / "report.xls").size(), 4096u);

  seams.messages.clear();
  seams.saveAnswer = dir / "no-such-folder/report";
  w.超级按钮6->click();
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"导出失败！"});
}

TEST_F(FileCommandsTest, ExportAsksOnceBeforeReplacingTheFinalName) {
  auto& w = Search({{"a.txt", "A"}});
  test::WriteFile(dir / "report.xls", "an older workbook");
  seams.saveAnswer = dir / "report";  // becomes report.xls, which exists
  seams.answers = {MessageResult::Cancel};
  w.超级按钮6->click();
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"文件已存在，是否替换？"});
  EXPECT_EQ(seams.messages[0].buttons, platform::MessageButtons::OkCancel);
  EXPECT_EQ(test::ReadWholeFile(dir / "report.xls"), "an older workbook");

  seams.messages.clear();
  w.超级按钮6->click();  // OK this time
  EXPECT_EQ(seams.MessageTexts(),
            (std::vector<std::string>{"文件已存在，是否替换？", "导出完成！"}));
  EXPECT_GT(test::ReadWholeFile(dir / "report.xls").size(), 4096u);

  seams.messages.clear();
  seams.saveAnswer = dir / "fresh";
  w.超级按钮6->click();
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"导出完成！"});
}

}  // namespace
}  // namespace corvale::app
