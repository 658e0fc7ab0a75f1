// A UiSeams that answers every message with OK and shows nothing: the benchmarks drive the real
// commands without a user.
#pragma once

#include <cstdio>

#include "platform/ui_seams.h"

namespace corvale::bench {

class QuietSeams : public platform::UiSeams {
 public:
  platform::MessageResult ShowMessage(const std::string&, const std::string&, platform::MessageIcon,
                                      platform::MessageButtons) override {
    return platform::MessageResult::Ok;
  }
  std::optional<std::string> ChooseFolder(const std::string&, bool) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const std::string&) override { return saveName; }
  void SetClipboardText(const std::string&) override {}
  void OpenPath(const std::string&) override {}
  void OpenUrl(const std::string&) override {}
  void ShowInFolder(const std::string&) override {}

  std::optional<std::string> saveName;
};

// Resident memory of this process in bytes.
inline long ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * 4096;
}

}  // namespace corvale::bench
