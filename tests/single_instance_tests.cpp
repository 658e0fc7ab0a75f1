#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "app/single_instance.h"
#include "platform/process_versions.h"
#include "tests/test_support.h"

extern char** environ;

namespace corvale::app {
namespace {

TEST(VersionStrings, TheBuiltProgramCarriesThem) {
  const auto strings = platform::ReadVersionStrings(CORVALE_EXE);
  EXPECT_EQ(strings.at("ProductName"), "Corvale");
  EXPECT_EQ(strings.at("Comments"), "Corvale");
  EXPECT_EQ(strings.at("FileVersion"), "1.3.0.0");
  EXPECT_EQ(strings.at("ProductVersion"), "1.3.0.0");
  EXPECT_EQ(strings.at("FileDescription"), "筛选文件类型、名称、大小、重复文件。");
  EXPECT_TRUE(platform::ReadVersionStrings("/bin/sh").empty());
  EXPECT_TRUE(platform::ReadVersionStrings("/nonexistent").empty());
  test::TempDir dir;
  test::WriteFile(dir / "short",
                  "\x7f"
                  "ELF");
  EXPECT_TRUE(platform::ReadVersionStrings(dir / "short").empty());
}

bool WaitFor(const std::function<bool()>& condition, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

// The session the test's copies run in: a display of their own, so copies started elsewhere on
// the machine, by this user or another, never count against them.
Session TestSession() { return {getuid(), ":corvale-test-" + std::to_string(getpid()), ""}; }

// A copy of the built program, headless, in the test's session, with its messages logged instead
// of shown.
class Copy {
 public:
  Copy(const std::string& dir, const std::string& log,
       const std::string& display = TestSession().display) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      const std::string_view text = *entry;
      if (text.starts_with("DISPLAY=") || text.starts_with("WAYLAND_DISPLAY=") ||
          text.starts_with("QT_QPA_PLATFORM=") || text.starts_with("CORVALE_MESSAGE") ||
          text.starts_with("XDG_CONFIG_HOME=")) {
        continue;
      }
      environment.emplace_back(text);
    }
    environment.push_back("DISPLAY=" + display);
    environment.push_back("QT_QPA_PLATFORM=offscreen");
    environment.push_back("XDG_CONFIG_HOME=" + dir + "/.config");  // never the user's settings
    environment.push_back("CORVALE_MESSAGE_LOG=" + log);
    std::vector<char*> envp;
    for (auto& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(CORVALE_EXE), nullptr};
    if (posix_spawn(&pid_, CORVALE_EXE, &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Copy() {
    if (pid_ > 0 && !exitStatus_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Started() const { return pid_ > 0; }
  void Signal(int signal) const { kill(pid_, signal); }
  // A copy has drawn its window once it maps a font file: by then it has passed the
  // single-instance check, which runs before the window is made.
  bool Settled() const {
    return test::ReadWholeFile("/proc/" + std::to_string(pid_) + "/maps").find("/fonts/") !=
           std::string::npos;
  }
  // The exit status once the copy has ended, or nothing while it runs.
  std::optional<int> ExitStatus() {
    int status = 0;
    if (!exitStatus_ && waitpid(pid_, &status, WNOHANG) == pid_) exitStatus_ = status;
    return exitStatus_;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
};

TEST(SingleInstance, AThirdCopyInTheSessionIsRefused) {
  ASSERT_EQ(CountRunningCopies(kProductName, TestSession()), 0);
  test::TempDir dir;
  const std::string log = dir / "messages.log";
  // A copy of the same user on another display: it must not count against the test's copies.
  Copy outsider(dir.Path(), dir / "outsider.log", ":outsider");
  ASSERT_TRUE(WaitFor([&] { return outsider.Settled(); }, 20));
  Copy first(dir.Path(), log);
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(WaitFor([&] { return first.Settled(); }, 20));
  Copy second(dir.Path(), log);
  ASSERT_TRUE(WaitFor([&] { return second.Settled(); }, 20));
  EXPECT_EQ(CountRunningCopies(kProductName, TestSession()), 2);
  // Another display, another user: not the same session.
  EXPECT_EQ(CountRunningCopies(kProductName, {getuid(), ":other", ""}), 0);
  EXPECT_EQ(CountRunningCopies(kProductName, {getuid() + 1, TestSession().display, ""}), 0);
  Copy third(dir.Path(), log);
  ASSERT_TRUE(WaitFor([&] { return third.ExitStatus().has_value(); }, 20));
  EXPECT_TRUE(WIFEXITED(*third.ExitStatus()));
  EXPECT_EQ(WEXITSTATUS(*third.ExitStatus()), 0);
  // The first two still run: the second was allowed to start.
  EXPECT_FALSE(first.ExitStatus());
  EXPECT_FALSE(second.ExitStatus());
  // The first two copies may have logged their start-up update check; one refusal only.
  const std::string messages = test::ReadWholeFile(log);
  const std::string refusal = "信息：|Corvale已经运行！\n";
  EXPECT_NE(messages.find(refusal), std::string::npos) << messages;
  EXPECT_EQ(messages.find(refusal), messages.rfind(refusal));
  EXPECT_EQ(CountRunningCopies("corvale", TestSession()), 0);   // letter case counts
  EXPECT_EQ(CountRunningCopies("Corvale ", TestSession()), 0);  // so does a trailing blank
}

TEST(SingleInstance, SigtermSavesTheFoldersOfARealCopy) {
  test::TempDir dir;
  test::WriteFile(dir / "dmconfig.ini", "[载入目录]\n载入目录=/from/the/file\n");
  Copy copy(dir.Path(), dir / "messages.log");
  ASSERT_TRUE(copy.Started());
  ASSERT_TRUE(WaitFor([&] { return copy.Settled(); }, 20));
  // The file has no target folder yet: only the copy's close writes that entry.
  copy.Signal(SIGTERM);
  ASSERT_TRUE(WaitFor([&] { return copy.ExitStatus().has_value(); }, 20));
  EXPECT_TRUE(WIFEXITED(*copy.ExitStatus()));
  EXPECT_EQ(WEXITSTATUS(*copy.ExitStatus()), 0);
  EXPECT_EQ(test::ReadWholeFile(dir / "dmconfig.ini"),
            "[载入目录]\n载入目录=/from/the/file\n[保存目录]\n保存目录=\n");
}

}  // namespace
}  // namespace corvale::app
