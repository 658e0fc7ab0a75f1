#include "app/single_instance.h"

#include "platform/process_versions.h"

namespace corvale::app {

int CountRunningCopies(const std::string& productName) {
  int matches = 0;
  for (const std::string& exe : platform::ProcessExecutables()) {
    // An executable that cannot be read, or carries no version section, is no match.
    const auto strings = platform::ReadVersionStrings(exe);
    const auto name = strings.find("ProductName");
    if (name != strings.end() && !name->second.empty() && name->second == productName) ++matches;
  }
  return matches;
}

bool SingleInstanceCheck() { return CountRunningCopies(kProductName) <= 2; }

}  // namespace corvale::app
