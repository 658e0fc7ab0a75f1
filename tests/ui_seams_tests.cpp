// The real dialogs of QtUiSeams, driven as a user drives them.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt_texts.h"
#include "platform/qt_ui_seams.h"
#include "tests/test_support.h"

namespace corvale::platform {
namespace {

// Runs drive on the modal dialog once it is up, from inside its own event loop.
void WhenModal(std::function<void(QWidget*)> drive) {
  QTimer::singleShot(10, [drive] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      drive(modal);
    } else {
      WhenModal(drive);
    }
  });
}

// Types text into the dialog's name field and presses Return.
std::function<void(QWidget*)> Type(const std::string& text) {
  return [text](QWidget* dialog) {
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    // A dialog that would not take the choice, or asks a question of its own, is closed, so the
    // test fails rather than hangs.
    QTimer::singleShot(3000, dialog, [dialog] {
      if (QWidget* box = QApplication::activeModalWidget(); box && box != dialog) box->close();
      QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    name->setFocus();
    name->setText(QString::fromStdString(text));
    QTest::keyClick(name, Qt::Key_Return);
  };
}

// Clicks the entry `name` in the dialog's view of the folder once it shows it, then the choose
// button: what a user does with the mouse.
void ClickEntryThenChoose(QFileDialog* dialog, const QString& name, int triesLeft = 100) {
  // The dialog shows its files as a list or as a detailed tree: click in the one shown.
  QAbstractItemView* list = dialog->findChild<QAbstractItemView*>("listView");
  if (!list || !list->isVisible()) list = dialog->findChild<QAbstractItemView*>("treeView");
  ASSERT_NE(list, nullptr);
  const QModelIndex root = list->rootIndex();
  for (int row = 0; row < list->model()->rowCount(root); ++row) {
    const QModelIndex entry = list->model()->index(row, 0, root);
    if (entry.data().toString() != name) continue;
    list->scrollTo(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
    // Qt updates the button after the selection has gone through.
    QTimer::singleShot(50, dialog, [dialog] {
      auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
      QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    return;
  }
  // The folder is still being read.
  if (triesLeft > 0) {
    QTimer::singleShot(20, dialog, [=] { ClickEntryThenChoose(dialog, name, triesLeft - 1); });
  }
}

std::function<void(QWidget*)> ChooseByMouse(const std::string& folder, const char* name) {
  return [folder, name](QWidget* widget) {
    auto* dialog = static_cast<QFileDialog*>(widget);
    QTimer::singleShot(4000, dialog, [dialog] { dialog->reject(); });  // fail, never hang
    dialog->setDirectory(QString::fromStdString(folder));
    ClickEntryThenChoose(dialog, QString::fromUtf8(name));
  };
}

TEST(TargetFolderPicker, TakesAFileOrAFolderAndCancelTakesNothing) {
  test::TempDir dir;
  test::WriteFile(dir / "pick/file.txt", "");
  test::MakeDirs(dir / "pick/folder");
  QtUiSeams seams;
  WhenModal(Type(dir / "pick/file.txt"));
  EXPECT_EQ(seams.ChooseFolder("请添加目标目录:", true), dir / "pick/file.txt");
  WhenModal(Type(dir / "pick/folder"));
  EXPECT_EQ(seams.ChooseFolder("请添加目标目录:", true), dir / "pick/folder");
  WhenModal(ChooseByMouse(dir / "pick", "file.txt"));
  EXPECT_EQ(seams.ChooseFolder("请添加目标目录:", true), dir / "pick/file.txt");
  WhenModal(ChooseByMouse(dir / "pick", "folder"));
  EXPECT_EQ(seams.ChooseFolder("请添加目标目录:", true), dir / "pick/folder");
  WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  EXPECT_EQ(seams.ChooseFolder("请添加目标目录:", true), std::nullopt);
}

TEST(SaveDialog, NeverAsksItselfWhetherToReplace) {
  test::TempDir dir;
  test::WriteFile(dir / "report.xls", "old");
  QtUiSeams seams;
  WhenModal(Type(dir / "report.xls"));
  EXPECT_EQ(seams.ChooseSaveFile("*.xls"), dir / "report.xls");
  EXPECT_EQ(test::ReadWholeFile(dir / "report.xls"), "old");
}

TEST(MessageLog, AnswersAQuestionOkOnlyWhenAskedTo) {
  test::TempDir dir;
  const std::string log = dir / "messages.log";
  setenv("CORVALE_MESSAGE_LOG", log.c_str(), 1);
  const struct {
    const char* answer;  // CORVALE_MESSAGE_ANSWER, or none
    MessageButtons buttons;
    MessageResult expected;
  } cases[] = {
      {nullptr, MessageButtons::Ok, MessageResult::Ok},
      {nullptr, MessageButtons::OkCancel, MessageResult::Cancel},
      {"yes", MessageButtons::OkCancel, MessageResult::Cancel},
      {"OK", MessageButtons::OkCancel, MessageResult::Ok},
  };
  for (const auto& c : cases) {
    if (c.answer) {
      setenv("CORVALE_MESSAGE_ANSWER", c.answer, 1);
    } else {
      unsetenv("CORVALE_MESSAGE_ANSWER");
    }
    QtUiSeams seams;
    EXPECT_EQ(seams.ShowMessage("确定要删除？", "删除文件", MessageIcon::Warning, c.buttons),
              c.expected);
  }
  unsetenv("CORVALE_MESSAGE_LOG");
  unsetenv("CORVALE_MESSAGE_ANSWER");
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += "删除文件|确定要删除？\n";
  EXPECT_EQ(test::ReadWholeFile(log), expected);  // every message is logged
}

TEST(FileUrls, CarryTheNamesOwnBytes) {
  const std::string path = "/data/bad\xff name.txt";
  const QUrl url = FileUrl(path);
  EXPECT_EQ(url.toEncoded(), "file:///data/bad%FF%20name.txt");
  EXPECT_EQ(QByteArray::fromPercentEncoding(url.toEncoded().mid(7)).toStdString(), path);
  EXPECT_EQ(FileUrl("/音乐/a.mp3").toLocalFile(), QString::fromUtf8("/音乐/a.mp3"));
}

TEST(QtTexts, StandardButtonsReadChineseWhateverTheSystemLanguage) {
  // The tests start with LANG=C (tests/CMakeLists.txt): an English system.
  if (!app::UseChineseQtTexts(*QCoreApplication::instance())) {
    GTEST_SKIP() << "Qt's translations (qt6-translations-l10n) are not installed";
  }
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));
}

}  // namespace
}  // namespace corvale::platform
