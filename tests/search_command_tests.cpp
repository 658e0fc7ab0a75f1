#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "app/main_window.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ListSuffixes(records.filter, "mp3"); }
  std::vector<std::string> Column(MainWindow& w, int column) {
    std::vector<std::string> texts;
    for (const auto& row : w.List().rows) texts.push_back(resultlist::CellText(row, column));
    return texts;
  }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  test::ScopedTz tz{"UTC"};
  AppRecords records;
  test::FakeSeams seams;
};

TEST_F(SearchTest, RefusalsKeepTheEarlierRows) {
  test::WriteFile(dir / "t/a.mp3", "x");
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs(dir / "t"));
  w.RunSearch();
  ASSERT_EQ(w.List().rows.size(), 1u);

  struct Case {
    std::string folder;
    std::string suffix;
    std::string message;
  } cases[] = {
      {"", "mp3", "请添加查找目录！"},
      {dir / "t", "如需添加类型用,(半角逗号)隔开。",
       "请在左上角\"筛选设置\"图标进行设置，然后点击\"应用并关闭\"按钮。"},
      {dir / "t", "", "请先点击左上方的筛选设置，进行设置！"},
  };
  for (const auto& c : cases) {
    seams.messages.clear();
    w.编辑框1->setText(Qs(c.folder));
    records.filter.suffixText = c.suffix;
    w.RunSearch();
    EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(seams.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(w.List().rows.size(), 1u) << c.message;
    EXPECT_EQ(w.状态条1->PaneCount(), 0);
    EXPECT_TRUE(w.超级按钮1->isEnabled());
  }
}

TEST_F(SearchTest, ListsMatchingFilesInWalkOrderAllTicked) {
  const std::string root = dir / "t";
  test::WriteFile(root + "/a.mp3", "12345");
  test::WriteFile(root + "/skip.txt", "");
  test::WriteFile(root + "/sub/b.mp3", std::string(1332, 'x'));
  test::WriteFile(root + "/sub/deeper/c.mp3", "");
  for (const char* f : {"/a.mp3", "/sub/b.mp3", "/sub/deeper/c.mp3"}) {
    test::SetModifiedTime(root + f, 1700000000);
  }
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs(root));
  w.RunSearch();

  EXPECT_EQ(Column(w, 1), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(w, 2), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
  EXPECT_EQ(Column(w, 3), (std::vector<std::string>{root + "/a.mp3", root + "/sub/b.mp3",
                                                    root + "/sub/deeper/c.mp3"}));
  EXPECT_EQ(Column(w, 4), (std::vector<std::string>{"5 B", "1.30 KB", "0"}));
  EXPECT_EQ(Column(w, 6), std::vector<std::string>(3, "2023-11-14 22:13:20"));
  EXPECT_EQ(Column(w, 7), std::vector<std::string>(3, ""));
  for (const auto& row : w.List().rows) {
    EXPECT_TRUE(row.checked);
    EXPECT_EQ(resultlist::CellText(row, 5).size(), 19u);
  }
  EXPECT_EQ(w.List().rows[1].byteSize, 1332);
  EXPECT_TRUE(w.选择框1->isChecked());
  ASSERT_EQ(w.状态条1->PaneCount(), 1);
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8("  查找完成，共找到3项文件。"));
  EXPECT_EQ(w.状态条1->PaneWidth(0), 300);
  EXPECT_EQ(w.透明标签7->text(), QString::fromUtf8("共找到3项文件。"));
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"查找完成，共找到3项文件。"});
  EXPECT_TRUE(w.超级按钮1->isEnabled());
  EXPECT_EQ(w.超级按钮1->text(), QString::fromUtf8("查找文件"));
  EXPECT_EQ(w.超级列表框1->model()->rowCount(), 3);
}

TEST_F(SearchTest, NothingFoundKeepsTheStartPaneAndTheCount) {
  test::WriteFile(dir / "t/a.txt", "");
  test::WriteFile(dir / "t/b.txt", "");
  MainWindow w(records, seams);
  w.选择框1->setChecked(false);
  w.编辑框1->setText(Qs(dir / "t"));
  w.RunSearch();
  ASSERT_EQ(w.状态条1->PaneCount(), 2);
  EXPECT_EQ(w.状态条1->PaneText(0), QString::fromUtf8(" 开始查找："));
  EXPECT_EQ(w.状态条1->PaneWidth(0), 100);
  EXPECT_EQ(w.状态条1->PaneText(1), "2");
  EXPECT_EQ(w.透明标签7->text(), QString::fromUtf8("共找到0项文件。"));
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"查找完成，共找到0项文件。"});
  EXPECT_FALSE(w.选择框1->isChecked());

  seams.messages.clear();
  w.编辑框1->setText(Qs(dir / "does-not-exist"));
  w.RunSearch();
  EXPECT_EQ(w.状态条1->PaneText(1), "");  // no entry examined at all
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"查找完成，共找到0项文件。"});
}

TEST_F(SearchTest, ButtonIsDisabledWhileTheWalkRuns) {
  for (int i = 0; i < 40; ++i) test::WriteFile(dir / ("t/d" + std::to_string(i) + "/f.mp3"), "");
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs(dir / "t"));
  bool sawBusy = false;
  // Runs from the event pump inside the walk.
  QMetaObject::invokeMethod(
      &w,
      [&] {
        sawBusy = !w.超级按钮1->isEnabled() && w.超级按钮1->text() == QString::fromUtf8("正在查找");
      },
      Qt::QueuedConnection);
  w.RunSearch();
  EXPECT_TRUE(sawBusy);
  EXPECT_EQ(w.List().rows.size(), 40u);
}

TEST_F(SearchTest, OddEntriesDoNotStopTheSearch) {
  const std::string root = dir / "t";
  test::WriteFile(root + "/ok.mp3", "");
  test::WriteFile(root + "/bad\xff\xfe.mp3", "");
  ASSERT_EQ(mkfifo((root + "/pipe.mp3").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/nonexistent", (root + "/dangling.mp3").c_str()), 0);
  ASSERT_EQ(symlink(root.c_str(), (root + "/loop").c_str()), 0);
  std::string deep = root;
  while (deep.size() < 3900) deep += "/" + std::string(200, 'd');
  test::WriteFile(deep + "/deep.mp3", "");
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs(root));
  w.RunSearch();
  auto names = Column(w, 2);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"bad\xff\xfe.mp3", "deep.mp3", "ok.mp3"}));
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"查找完成，共找到3项文件。"});
  // The view shows a replacement character; the row keeps the raw bytes.
  const auto* model = w.超级列表框1->model();
  for (int r = 0; r < model->rowCount(); ++r) {
    if (w.List().rows[std::size_t(r)].Name() == "bad\xff\xfe.mp3") {
      EXPECT_TRUE(model->index(r, 2).data().toString().contains(QChar(0xFFFD)));
    }
  }
}

TEST_F(SearchTest, FilesBeyondTheLongestPathAreCountedNotListed) {
  const std::string root = dir / "t";
  test::WriteFile(root + "/near.mp3", "");
  test::MakeDeepFile(root, 500, "folder0123", "far.mp3");  // 5,500 bytes of folders
  MainWindow w(records, seams);
  w.编辑框1->setText(Qs(root));
  w.RunSearch();
  EXPECT_EQ(Column(w, 2), std::vector<std::string>{"near.mp3"});
  EXPECT_EQ(seams.MessageTexts(),
            std::vector<std::string>{"查找完成，共找到1项文件。另有1项文件的路径超过4096字节，"
                                     "无法操作，未列出。"});
  EXPECT_EQ(w.透明标签7->text(), QString::fromUtf8("共找到1项文件。"));
  std::system(("rm -rf '" + root + "'").c_str());
}

}  // namespace
}  // namespace corvale::app

namespace corvale::app {
namespace {

TEST(SettingsToSearch, AudioPresetAppliedFromTheMainWindowListsExactlyTheAudioFiles) {
  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
  for (const char* f : {"t/a.mp3", "t/b.flac", "t/sub/c.wav", "t/d.MP3", "t/e.txt", "t/f.mp4"}) {
    test::WriteFile(dir / f, "x");
  }
  MainWindow w(records, seams);
  w.编辑框1->setText(QString::fromStdString(dir / "t"));
  w.RunSearch();  // before the settings window was ever opened
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"请先点击左上方的筛选设置，进行设置！"});

  auto* settingsWindow = w.OpenSettingsWindow(false);
  ASSERT_NE(settingsWindow, nullptr);
  seams.messages.clear();
  w.RunSearch();  // opened but left at the placeholders
  EXPECT_EQ(
      seams.MessageTexts(),
      std::vector<std::string>{"请在左上角\"筛选设置\"图标进行设置，然后点击\"应用并关闭\"按钮。"});

  const int audio = settingsWindow->文件类型->findText(QString::fromUtf8("音频文件"));
  settingsWindow->文件类型->setCurrentIndex(audio);
  emit settingsWindow->文件类型->activated(audio);
  settingsWindow->超级按钮2->click();
  seams.messages.clear();
  w.RunSearch();
  std::vector<std::string> names;
  for (const auto& row : w.List().rows) names.emplace_back(row.Name());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.mp3", "b.flac", "c.wav"}));
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"查找完成，共找到3项文件。"});
}

}  // namespace
}  // namespace corvale::app
