#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <csignal>

#include "app/main_window.h"
#include "app/termination.h"
#include "settings/filter_settings.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

QString Qs(const char* text) { return QString::fromUtf8(text); }

class MainWindowTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
};

TEST_F(MainWindowTest, LayoutPlacesControlsWithTheirCaptions) {
  MainWindow w(records, seams);
  EXPECT_EQ(w.geometry(), QRect(50, 50, 1146, 664));
  EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(w.windowTitle(), "Corvale");
  struct Case {
    const char* name;
    QRect place;
    const char* caption;
  } cases[] = {
      {"图片框1", {0, 0, 1152, 88}, nullptr},
      {"图片框4", {49, 7, 54, 54}, nullptr},
      {"透明标签1", {49, 60, 67, 24}, "筛选设置"},
      {"透明标签5", {1008, -5, 61, 83}, "1.3"},
      {"图片框2", {1118, 2, 24, 24}, nullptr},
      {"超级列表框1", {3, 89, 1140, 415}, nullptr},
      {"选择框1", {11, 508, 62, 16}, "全选"},
      {"分组框2", {3, 527, 509, 112}, "设置目录："},
      {"编辑框1", {70, 25, 295, 26}, nullptr},
      {"超级按钮8", {431, 25, 70, 26}, "打开文件夹"},
      {"超级按钮2", {17, 25, 115, 26}, "剪切到目标文件夹"},
      {"超级按钮10", {248, 25, 115, 26}, "一键删除重复文件"},
      {"超级按钮1", {24, 25, 207, 66}, "查找文件"},
      {"状态条1", {0, 622, 1146, 20}, nullptr},
      {"进度条1", {241, 625, 899, 16}, nullptr},
  };
  for (const auto& c : cases) {
    auto* widget = w.findChild<QWidget*>(Qs(c.name));
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->geometry(), c.place) << c.name;
    if (!c.caption) continue;
    QString caption;
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) caption = b->text();
    if (auto* l = qobject_cast<QLabel*>(widget)) caption = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(widget)) caption = g->title();
    EXPECT_EQ(caption, Qs(c.caption)) << c.name;
  }
  EXPECT_FALSE(w.进度条1->isVisibleTo(&w));
  EXPECT_TRUE(w.单选框1->isChecked());
  const auto* model = w.超级列表框1->model();
  ASSERT_EQ(model->columnCount(), 9);
  const char* titles[] = {"",         "序号",     "名称",         "路径", "大小",
                          "创建时间", "修改时间", "是否存在重复", "md5"};
  const int widths[] = {25, 40, 140, 420, 70, 135, 135, 130, 20};
  for (int c = 0; c < 9; ++c) {
    EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), Qs(titles[c]));
    EXPECT_EQ(w.超级列表框1->columnWidth(c), widths[c]);
  }
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsFileLeavesFoldersEmpty) {
  MainWindow w(records, seams);
  EXPECT_EQ(w.编辑框1->text(), "");
  EXPECT_EQ(w.编辑框2->text(), "");
}

TEST_F(MainWindowTest, FoldersRoundTripThroughEitherWayOfClosing) {
  {
    MainWindow w(records, seams);
    w.编辑框1->setText(Qs("/数据/音乐"));
    w.编辑框2->setText(Qs("/out"));
    w.CloseByPicture();
  }
  EXPECT_EQ(settings::ReadSetting("载入目录", "载入目录"), "/数据/音乐");
  EXPECT_EQ(settings::ReadSetting("保存目录", "保存目录"), "/out");
  {
    MainWindow w(records, seams);
    EXPECT_EQ(w.编辑框1->text(), Qs("/数据/音乐"));
    EXPECT_EQ(w.编辑框2->text(), Qs("/out"));
    w.编辑框1->setText(Qs("/other"));
    QSignalSpy closed(&w, &MainWindow::closed);
    w.show();
    w.close();  // window-manager close: the same writes
    EXPECT_EQ(closed.count(), 1);
  }
  EXPECT_EQ(settings::ReadSetting("载入目录", "载入目录"), "/other");
}

TEST_F(MainWindowTest, TerminationSignalsCloseTheWindowAndSaveTheFolders) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    MainWindow w(records, seams);
    w.show();
    new CloseOnTermination(&w);
    QSignalSpy closed(&w, &MainWindow::closed);
    w.编辑框1->clear();
    QTest::keyClicks(w.编辑框1, "/typed/" + QString::number(signal));
    raise(signal);
    ASSERT_TRUE(closed.wait(5000)) << signal;
    EXPECT_EQ(settings::ReadSetting("载入目录", "载入目录"), "/typed/" + std::to_string(signal));
  }
}

TEST_F(MainWindowTest, MinimiseChangesTheTitleForGood) {
  MainWindow w(records, seams);
  w.show();
  w.Minimise();
  EXPECT_EQ(w.windowTitle(), "Corvale1.3");
  w.showNormal();
  EXPECT_EQ(w.windowTitle(), "Corvale1.3");
}

TEST_F(MainWindowTest, FolderPickersFillTheFieldsAndCancelKeepsThem) {
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs("/kept"));
  w.编辑框2->setText(Qs("/kept2"));
  seams.folderAnswer.reset();
  w.ChooseSearchFolder();
  w.ChooseTargetFolder();
  EXPECT_EQ(w.编辑框1->text(), "/kept");
  EXPECT_EQ(w.编辑框2->text(), "/kept2");
  EXPECT_EQ(seams.folderTitles,
            (std::vector<std::string>{"请选择要搜索的文件夹:", "请添加目标目录:"}));
  EXPECT_TRUE(seams.lastIncludeFiles);

  seams.folderAnswer = "/chosen/文件夹";
  w.ChooseSearchFolder();
  EXPECT_EQ(w.编辑框1->text(), Qs("/chosen/文件夹"));
  seams.folderAnswer = "/chosen/out ";
  w.ChooseTargetFolder();
  EXPECT_EQ(w.编辑框2->text(), Qs("/chosen/out "));  // a legal name, kept whole
  w.CloseByPicture();
  EXPECT_EQ(settings::ReadSetting("保存目录", "保存目录"), "/chosen/out ");
}

TEST_F(MainWindowTest, OpenFolderButtonsHandTheTextToTheShell) {
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs("/a"));
  w.编辑框2->setText(Qs("/b"));
  w.超级按钮8->click();
  w.超级按钮9->click();
  EXPECT_EQ(seams.opened, (std::vector<std::string>{"/a", "/b"}));
}

}  // namespace
}  // namespace corvale::app

namespace corvale::app {
namespace {

TEST_F(MainWindowTest, TutorialWindowOpensOnceAndItsLinksAskTheService) {
  records.endpoints = {"http://127.0.0.1:1/update", "http://127.0.0.1:1/info"};  // refused
  MainWindow w(records, seams);
  auto* tutorial = w.OpenTutorialWindow();
  ASSERT_NE(tutorial, nullptr);
  EXPECT_EQ(w.OpenTutorialWindow(), tutorial);  // the open one comes to the front
  EXPECT_EQ(tutorial->size(), QSize(467, 282));
  EXPECT_TRUE(tutorial->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(tutorial->超级按钮3->text(), Qs("1.在线视频教程"));
  EXPECT_EQ(tutorial->超级按钮3->geometry(), QRect(152, 86, 184, 28));
  EXPECT_EQ(tutorial->超级按钮1->text(), Qs("3.下载文档教程"));
  emit tutorial->超级按钮3->pressed();  // no answer: nothing opened, nothing shown
  emit tutorial->超级按钮1->pressed();
  EXPECT_TRUE(seams.urls.empty());
  EXPECT_TRUE(seams.messages.empty());
}

}  // namespace
}  // namespace corvale::app
