// Times "复制到目标文件夹" of 10,000 ticked files of 100 KB into an empty folder, beside cp(1)
// copying the same files.
#include <QApplication>
#include <cstdio>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "bench/bench_window.h"

using namespace corvale;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  constexpr int kFiles = 10000;
  const std::string root = bench::MakeTree("corvale-bench-copy", kFiles, 100, 100 * 1024);
  const std::string target = root + "-target";
  bench::WarmUp(root);
  bench::TimeCommand("cat $(find '" + root + "' -name '*.dat')");

  bench::SearchWindow bench(root, "dat");
  app::MainWindow& window = bench.window;
  window.编辑框2->setText(QString::fromStdString(target));
  window.RunSearch();

  double best = 1e9, cpBest = 1e9;
  std::size_t copied = 0;
  for (int round = 0; round < 3; ++round) {
    std::filesystem::remove_all(target);
    std::filesystem::create_directories(target);
    bench::TimeCommand("sync");
    const auto start = std::chrono::steady_clock::now();
    window.CopyCheckedToTarget();
    best = std::min(best, bench::Seconds(start));
    copied = std::size_t(std::distance(std::filesystem::directory_iterator(target), {}));

    std::filesystem::remove_all(target);
    std::filesystem::create_directories(target);
    bench::TimeCommand("sync");
    cpBest =
        std::min(cpBest, bench::TimeCommand("find '" + root + "' -name '*.dat' -exec cp -p -t '" +
                                            target + "' {} +"));
  }
  std::filesystem::remove_all(target);
  std::printf("bench copy: files=%zu bytes_each=102400 corvale_s=%.3f cp_s=%.3f ratio=%.2f\n",
              copied, best, cpBest, best / cpBest);
  return copied == kFiles ? 0 : 1;
}
