#include "app/single_instance.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/process_versions.h"

namespace corvale::app {

namespace {

bool InSession(int pid, const Session& session) {
  if (platform::ProcessOwner(pid) != session.user) return false;
  const auto display = platform::ProcessEnvironmentValue(pid, "DISPLAY");
  const auto wayland = platform::ProcessEnvironmentValue(pid, "WAYLAND_DISPLAY");
  return (!display || *display == session.display) &&
         (!wayland || *wayland == session.waylandDisplay);
}

}  // namespace

Session OwnSession() {
  const auto value = [](const char* name) {
    const char* text = std::getenv(name);
    return std::string(text ? text : "");
  };
  return {getuid(), value("DISPLAY"), value("WAYLAND_DISPLAY")};
}

int CountRunningCopies(const std::string& productName, const Session& session) {
  int matches = 0;
  for (const int pid : platform::ProcessIds()) {
    if (!InSession(pid, session)) continue;
    // An executable that cannot be read, or carries no version section, is no match.
    const auto strings = platform::ReadVersionStrings(platform::ProcessExecutable(pid));
    const auto name = strings.find("ProductName");
    if (name != strings.end() && !name->second.empty() && name->second == productName) ++matches;
  }
  return matches;
}

bool SingleInstanceCheck() { return CountRunningCopies(kProductName, OwnSession()) <= 2; }

}  // namespace corvale::app
