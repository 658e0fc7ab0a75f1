// Clicks on the title strips as the window system delivers them: which surfaces move a window,
// and which are buttons that act and never move it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

int moveRequests = 0;
void CountMove(QWindow*) { ++moveRequests; }

class TitleStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousMover_ = chrome::SetWindowMover(CountMove);
    moveRequests = 0;
    records.endpoints = {"http://127.0.0.1:1/update", "http://127.0.0.1:1/info"};  // refused
  }
  void TearDown() override {
    chrome::SetWindowMover(previousMover_);
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == "TutorialWindow") delete top;
    }
  }
  // A left click where the user would aim: the middle of the widget, delivered through its window.
  static void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton,
                    QPoint at = QPoint()) {
    QTest::mouseClick(widget, button, {}, at);
  }

  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;

 private:
  chrome::WindowMover previousMover_ = nullptr;
};

TEST_F(TitleStripTest, ButtonPicturesActAndNeverMoveTheWindow) {
  MainWindow w(records, seams);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  const auto openTutorial = [] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == "TutorialWindow" && top->isVisible()) return true;
    }
    return false;
  };
  bool modalShown = false;
  const struct {
    const char* name;
    std::function<void()> before;
    std::function<bool()> acted;
  } cases[] = {
      {"图片框4",
       {},
       [&] {
         auto* settings = w.findChild<settings::SettingsWindow*>();
         const bool shown = settings && settings->isVisible();
         delete settings;
         return shown;
       }},
      {"透明标签1",
       [&] {
         QTimer::singleShot(0, [&] {
           if (QWidget* modal = QApplication::activeModalWidget()) {
             modalShown = modal->objectName() == "SettingsWindow";
             modal->close();
           }
         });
       },
       [&] { return modalShown; }},
      {"图片框6", {}, openTutorial},
      {"图片框5",
       {},
       [&] { return seams.MessageTexts() == std::vector<std::string>{"网络连接出错！"}; }},
      {"透明标签11", {}, [&] { return seams.messages.empty(); }},
      {"透明标签2", {}, [&] { return seams.messages.empty(); }},
      {"图片框3", {}, [&] { return w.windowTitle() == "Corvale1.3"; }},
  };
  for (const auto& c : cases) {
    seams.messages.clear();
    if (c.before) c.before();
    Click(w.findChild<QWidget*>(QString::fromUtf8(c.name)));
    EXPECT_TRUE(c.acted()) << c.name;
    EXPECT_EQ(moveRequests, 0) << c.name;
    w.showNormal();
  }
  QSignalSpy closed(&w, &MainWindow::closed);
  Click(w.图片框2);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(moveRequests, 0);
}

TEST_F(TitleStripTest, OnlyDragSurfacesMoveAndOnlyWhileTheButtonIsDown) {
  MainWindow w(records, seams);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  for (QWidget* surface : {static_cast<QWidget*>(w.图片框1), static_cast<QWidget*>(w.图片框7),
                           static_cast<QWidget*>(w.透明标签5), static_cast<QWidget*>(w.透明标签6),
                           static_cast<QWidget*>(w.状态条1), static_cast<QWidget*>(&w)}) {
    moveRequests = 0;
    // The window's own background: a place between the list and the groups.
    const QPoint at = surface == &w ? QPoint(700, 515) : QPoint();
    QTest::mousePress(surface, Qt::LeftButton, {}, at);
    EXPECT_EQ(moveRequests, 1) << surface->objectName().toStdString();
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at);
    Click(surface, Qt::RightButton, at);
    EXPECT_EQ(moveRequests, 1) << surface->objectName().toStdString();
  }
  // A press that reaches the strip after its button went up (a modal box came in between).
  moveRequests = 0;
  QMouseEvent stale(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                    Qt::LeftButton, {});
  QApplication::sendEvent(w.图片框1, &stale);
  EXPECT_EQ(moveRequests, 0);
}

TEST_F(TitleStripTest, TutorialWindowClosesByItsPictureAndMovesByItsStrip) {
  MainWindow w(records, seams);
  QPointer<online::TutorialWindow> tutorial = w.OpenTutorialWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tutorial));
  QTest::mousePress(tutorial->图片框1, Qt::LeftButton, {}, QPoint(200, 20));
  QTest::mouseRelease(tutorial->图片框1, Qt::LeftButton, {}, QPoint(200, 20));
  EXPECT_EQ(moveRequests, 1);
  Click(tutorial->图片框2);
  EXPECT_EQ(moveRequests, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(tutorial.isNull());
}

}  // namespace
}  // namespace corvale::app
