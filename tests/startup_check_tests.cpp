// The update check at start-up: the window first, the check's message when its answer arrives.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <thread>

#include "app/main_window.h"
#include "tests/fake_seams.h"
#include "tests/test_support.h"

namespace corvale::app {
namespace {

// An update service on 127.0.0.1 that answers "0" (a newer version exists) after a delay.
class SlowService : public ::testing::Test {
 protected:
  void SetUp() override {
    server.Post("/update", [this](const httplib::Request&, httplib::Response& response) {
      std::this_thread::sleep_for(delay);
      response.set_content("0", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    thread = std::thread([this] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    records.endpoints = {"http://127.0.0.1:" + std::to_string(port) + "/update",
                         "http://127.0.0.1:" + std::to_string(port) + "/info"};
  }
  void TearDown() override {
    server.stop();
    thread.join();
  }

  std::chrono::milliseconds delay{800};
  httplib::Server server;
  std::thread thread;
  test::TempDir dir;
  test::ScopedCwd cwd{dir.Path()};
  AppRecords records;
  test::FakeSeams seams;
};

TEST_F(SlowService, TheWindowComesFirstAndTheMessageFollowsTheAnswer) {
  seams.answers = {platform::MessageResult::Cancel};
  MainWindow w(records, seams);
  w.show();
  QElapsedTimer clock;
  clock.start();
  w.StartUpdateCheck();
  EXPECT_LT(clock.elapsed(), 300);  // nothing waits on the network
  EXPECT_TRUE(seams.messages.empty());
  while (seams.messages.empty() && clock.elapsed() < 10000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_GE(clock.elapsed(), 700);
  EXPECT_EQ(seams.MessageTexts(), std::vector<std::string>{"有新版本，请更新软件！"});
}

TEST_F(SlowService, ACheckStillRunningWhenTheWindowClosesIsAbandoned) {
  delay = std::chrono::milliseconds(3000);
  QElapsedTimer clock;
  clock.start();
  {
    MainWindow w(records, seams);
    w.show();
    w.StartUpdateCheck();
    QCoreApplication::processEvents();
  }
  EXPECT_LT(clock.elapsed(), 2500);
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(seams.messages.empty());
}

TEST_F(SlowService, AnUnconfiguredBuildChecksNothingAtStartUp) {
  records.endpoints.configured = false;
  MainWindow w(records, seams);
  w.StartUpdateCheck();
  for (int i = 0; i < 50; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(seams.messages.empty());
}

}  // namespace
}  // namespace corvale::app
