// What the benchmarks that drive the real commands share: a UiSeams that answers every message
// with OK and shows nothing, an offscreen MainWindow set up to search, and the process's memory.
#pragma once

#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/main_window.h"
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

// An offscreen MainWindow whose search lists every file with one of the suffixes below folder.
struct SearchWindow {
  SearchWindow(const std::string& folder, const char* suffixes, bool showDuplicates = false) {
    records.filter.suffixText = suffixes;
    records.filter.sizeFilterText = "不筛选";
    records.filter.nameFilterText = "不筛选";
    records.filter.showDuplicates = showDuplicates;
    window.show();
    window.编辑框1->setText(QString::fromStdString(folder));
  }

  app::AppRecords records;
  QuietSeams seams;
  app::MainWindow window{records, seams};
};

// Clicks "查找文件" and returns the seconds until the search button is back: the search and, with
// "显示重复文件", the duplicate run. The event loop sleeps between digests as it does in the
// program; a processEvents loop would spin and take a core from the workers.
inline double RunSearchToSummary(app::MainWindow& window) {
  const auto start = std::chrono::steady_clock::now();
  window.RunSearch();
  QEventLoop loop;
  QTimer poll;
  poll.callOnTimeout([&] {
    if (window.超级按钮1->isEnabled()) loop.quit();
  });
  poll.start(5);
  loop.exec();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

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
