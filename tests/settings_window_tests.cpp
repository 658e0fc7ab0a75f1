#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include "chrome/window_parts.h"
#include "settings/settings_window.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::settings {
namespace {

QString Qs(const char* text) { return QString::fromUtf8(text); }

// Runs the deletions that closing a window posted.
void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Picks an item of a drop-down as the user would.
void Choose(QComboBox* box, const char* item) {
  const int index = box->findText(Qs(item));
  ASSERT_GE(index, 0) << item;
  box->setCurrentIndex(index);
  emit box->activated(index);
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  SettingsWindow* Open() { return new SettingsWindow(settings, seams, shadows); }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  FilterSettings settings;
  test::FakeSeams seams;
  chrome::ShadowImages shadows;
};

TEST_F(SettingsWindowTest, FirstOpeningShowsPlaceholdersAndCapturesThem) {
  QPointer<SettingsWindow> w = Open();
  EXPECT_EQ(w->size(), QSize(564, 517));
  EXPECT_EQ(w->windowTitle(), Qs("查找文件设置"));
  EXPECT_EQ(w->文件类型->currentText(), Qs("请选择内容"));
  EXPECT_EQ(w->文件后缀->text(), Qs("如需添加类型用,(半角逗号)隔开。"));
  EXPECT_EQ(w->是否筛选大小->currentText(), Qs("不筛选"));
  EXPECT_EQ(w->限制大小类型->currentText(), Qs("请选择"));
  EXPECT_EQ(w->大小数值->text(), Qs("填写整数"));
  EXPECT_EQ(w->单位->currentText(), Qs("请选择单位"));
  EXPECT_EQ(w->是否限制名称->currentText(), Qs("不筛选"));
  EXPECT_EQ(w->限制名称->text(), Qs("关键词用英文逗号隔开。如：预览视频,样片"));
  EXPECT_FALSE(w->限制大小类型->isEnabled());
  EXPECT_FALSE(w->单位->isEnabled());
  EXPECT_FALSE(w->大小数值->isEnabled());
  EXPECT_FALSE(w->限制名称->isEnabled());
  EXPECT_FALSE(w->显示相同->isChecked());
  EXPECT_EQ(settings.suffixText, "如需添加类型用,(半角逗号)隔开。");
  EXPECT_EQ(w->文件类型->geometry(), QRect(98, 30, 151, 23));
  EXPECT_EQ(w->超级按钮2->text(), Qs("应用并关闭"));
  EXPECT_EQ(w->超级按钮2->geometry(), QRect(141, 462, 130, 28));
  w->close();
  Settle();
  EXPECT_TRUE(w.isNull());  // closing destroys the window
  EXPECT_FALSE(test::ReadWholeFile(SettingsFilePath()).size());
}

TEST_F(SettingsWindowTest, PresetsFillTheSuffixes) {
  QPointer<SettingsWindow> w = Open();
  struct Case {
    const char* item;
    const char* suffixes;
  } cases[] = {
      {"音频文件", "mp3,wav,wma,aac,flac"},
      {"视频文件", "mp4,mov,avi,mkv,flv,wmv,asf,rmvb"},
      {"可执行程序（.exe）", "exe"},
      {"自定义文件类型", "自定义文件类型用,隔开。（删除此文字）"},
  };
  for (const auto& c : cases) {
    Choose(w->文件类型, c.item);
    EXPECT_EQ(w->文件后缀->text(), Qs(c.suffixes)) << c.item;
  }
  delete w;
}

TEST_F(SettingsWindowTest, SizeSwitchRoundTripAndImmediateKindAndUnit) {
  QPointer<SettingsWindow> w = Open();
  Choose(w->是否筛选大小, "筛选");
  EXPECT_TRUE(w->限制大小类型->isEnabled());
  EXPECT_TRUE(w->大小数值->isEnabled());
  Choose(w->限制大小类型, "大于");
  Choose(w->单位, "GB");
  EXPECT_EQ(settings.sizeCompareText, "大于");  // in effect before any apply
  EXPECT_EQ(settings.sizeUnitText, "GB");
  w->大小数值->setText("7");
  Choose(w->是否筛选大小, "不筛选");
  EXPECT_FALSE(w->单位->isEnabled());
  EXPECT_EQ(w->限制大小类型->currentText(), Qs("请选择"));
  EXPECT_EQ(w->单位->currentText(), Qs("请选择单位"));
  EXPECT_EQ(w->大小数值->text(), Qs("填写整数"));
  Choose(w->是否筛选大小, "筛选");
  EXPECT_TRUE(w->单位->isEnabled());
  EXPECT_EQ(w->单位->currentText(), Qs("请选择单位"));

  Choose(w->是否限制名称, "包含以下关键词");
  EXPECT_TRUE(w->限制名称->isEnabled());
  Choose(w->是否限制名称, "不筛选");
  EXPECT_FALSE(w->限制名称->isEnabled());
  EXPECT_EQ(w->限制名称->text(), Qs("关键词用英文逗号隔开。如：预览视频,样片"));
  delete w;
}

TEST_F(SettingsWindowTest, ApplyRefusals) {
  struct Case {
    const char* suffix;
    const char* compare;
    const char* value;
    const char* unit;
    const char* message;
    bool saved;
  } cases[] = {
      {"", "大于", "1", "MB", "请选择或填写文件类型!", false},
      {"如需添加类型用,(半角逗号)隔开。", "大于", "1", "MB", "请选择或填写文件类型!", false},
      {"mp3", "请选择", "1", "MB", "您选择了筛选大小，但却未设置筛选大小参数，请选择下面参数！",
       true},
      {"mp3", "大于", "填写整数", "MB", "请填写筛选大小！", true},
      {"mp3", "大于", "1", "请选择单位", "请选择单位！", true},
  };
  for (const auto& c : cases) {
    std::remove(SettingsFilePath().c_str());
    settings = FilterSettings{};
    seams.messages.clear();
    QPointer<SettingsWindow> w = Open();
    const std::string captured = settings.suffixText;
    w->文件后缀->setText(Qs(c.suffix));
    Choose(w->是否筛选大小, "筛选");
    w->限制大小类型->setEditText(Qs(c.compare));
    w->大小数值->setText(Qs(c.value));
    w->单位->setEditText(Qs(c.unit));
    w->显示相同->setChecked(true);
    w->ApplySettings();
    EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{c.message});
    ASSERT_FALSE(w.isNull()) << c.message;  // the window stays open
    EXPECT_EQ(ReadSetting("限制大小", "限制大小"), c.saved ? c.value : "") << c.message;
    EXPECT_EQ(settings.suffixText, c.saved ? c.suffix : captured) << c.message;
    EXPECT_EQ(settings.showDuplicates, c.saved) << c.message;
    delete w;
  }
}

TEST_F(SettingsWindowTest, ApplyWritesTheFileAndClosesAndReopeningRestores) {
  QPointer<SettingsWindow> w = Open();
  Choose(w->文件类型, "音频文件");
  Choose(w->是否筛选大小, "筛选");
  Choose(w->限制大小类型, "大于");
  w->大小数值->setText("10");
  Choose(w->单位, "MB");
  w->显示相同->click();
  EXPECT_EQ(seams.messages.at(0).caption, "显示重复文件：");
  w->超级按钮2->click();
  Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(seams.messages.size(), 1u);
  EXPECT_EQ(test::ReadWholeFile(SettingsFilePath()), test::kSampleSettingsFile);
  EXPECT_TRUE(settings.showDuplicates);
  EXPECT_EQ(settings.sizeValue, 10);

  QPointer<SettingsWindow> again = Open();
  EXPECT_EQ(again->文件类型->currentText(), Qs("音频文件"));
  EXPECT_EQ(again->文件后缀->text(), Qs("mp3,wav,wma,aac,flac"));
  EXPECT_EQ(again->限制大小类型->currentText(), Qs("大于"));
  EXPECT_EQ(again->大小数值->text(), "10");
  EXPECT_EQ(again->单位->currentText(), "MB");
  EXPECT_TRUE(again->单位->isEnabled());
  EXPECT_FALSE(again->显示相同->isChecked());
  EXPECT_TRUE(settings.showDuplicates);  // only an apply changes it
  again->文件后缀->setText("txt");
  again->close();  // closing without apply keeps what the opening loaded
  EXPECT_EQ(settings.suffixText, "mp3,wav,wma,aac,flac");
}

TEST_F(SettingsWindowTest, ResetLeavesEnabledStatesAndRecord) {
  QPointer<SettingsWindow> w = Open();
  Choose(w->是否筛选大小, "筛选");
  settings.suffixText = "kept";
  w->超级按钮1->click();
  EXPECT_EQ(w->是否筛选大小->currentText(), Qs("不筛选"));
  EXPECT_TRUE(w->大小数值->isEnabled());
  EXPECT_EQ(settings.suffixText, "kept");
  delete w;
}

TEST_F(SettingsWindowTest, OpeningAndApplyingUntouchedSavesExactlyWhatWasLoaded) {
  // Texts that differ from every preset and placeholder, and a unit in another letter case.
  const std::vector<std::pair<std::pair<const char*, const char*>, const char*>> entries = {
      {{"文件后缀", "文件后缀"}, "mp4"},  {{"选择类型", "选择类型"}, "视频文件"},
      {{"限制类型", "限制类型"}, "大于"}, {{"限制大小", "限制大小"}, "5"},
      {{"限制单位", "限制单位"}, "mb"},   {{"限制名称", "限制名称"}, "预告"},
      {{"是否", "筛大小"}, "筛选"},       {{"是否", "筛名称"}, "包含以下关键词"},
  };
  for (const auto& [at, value] : entries) WriteSetting(at.first, at.second, value);
  QPointer<SettingsWindow> w = Open();
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  // The user looks around with the Tab key, through every control, then applies.
  w->文件类型->setFocus();
  for (int i = 0; i < 16; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::mouseClick(w->超级按钮2, Qt::LeftButton);
  Settle();
  EXPECT_TRUE(w.isNull());
  for (const auto& [at, value] : entries) {
    EXPECT_EQ(ReadSetting(at.first, at.second), value) << at.first << "/" << at.second;
  }
  EXPECT_EQ(settings.suffixText, "mp4");
}

TEST_F(SettingsWindowTest, PickingAPresetFromTheListStillAppliesIt) {
  WriteSetting("选择类型", "选择类型", "视频文件");
  WriteSetting("文件后缀", "文件后缀", "mp4");
  QPointer<SettingsWindow> w = Open();
  w->show();
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  // Opening the list and taking the shown item again is a pick.
  w->文件类型->setFocus();
  QTest::keyClick(w->文件类型, Qt::Key_Down, Qt::AltModifier);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  QTest::keyClick(static_cast<QWidget*>(w->文件类型->view()), Qt::Key_Return);
  EXPECT_EQ(w->文件后缀->text(), Qs("mp4,mov,avi,mkv,flv,wmv,asf,rmvb"));
  delete w;
}

int moveRequests = 0;
void CountMove(QWindow*) { ++moveRequests; }

TEST_F(SettingsWindowTest, ItsPicturesActAndOnlyTheStripAndBackgroundMoveIt) {
  const auto previous = chrome::SetWindowMover(CountMove);
  moveRequests = 0;
  QPointer<SettingsWindow> w = Open();
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  QTest::mouseClick(w->图片框3, Qt::LeftButton);
  EXPECT_TRUE(w->isMinimized());
  EXPECT_EQ(moveRequests, 0);
  w->showNormal();
  for (const auto& [surface, at] : {std::pair<QWidget*, QPoint>{w->图片框1, {100, 20}},
                                    std::pair<QWidget*, QPoint>{w, {300, 445}}}) {
    QTest::mousePress(surface, Qt::LeftButton, {}, at);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
  }
  EXPECT_EQ(moveRequests, 2);
  QTest::mouseClick(w->图片框2, Qt::LeftButton);
  EXPECT_EQ(moveRequests, 2);
  Settle();
  EXPECT_TRUE(w.isNull());
  chrome::SetWindowMover(previous);
}

}  // namespace
}  // namespace corvale::settings
