// The real "查找文件" path of a shown MainWindow over 1,000,000 files: its time beside find(1) on
// the same tree, the resident memory each listed row costs above an empty list, and the longest
// stretch in which the window handled no events.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "bench/bench_window.h"

using namespace corvale;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  constexpr int kFiles = 1000000;
  const std::string root = bench::MakeTree("corvale-bench-searchmem", kFiles, 1000, 0);
  bench::WarmUp(root);

  bench::SearchWindow bench(root, "dat");
  app::MainWindow& window = bench.window;
  // A timer that fires whenever events are handled and at least a millisecond has passed: the
  // gaps between its firings are the stretches in which the window did not respond.
  std::vector<std::chrono::steady_clock::time_point> rounds;
  QTimer beat;
  beat.setTimerType(Qt::PreciseTimer);
  beat.setInterval(1);
  beat.callOnTimeout([&] { rounds.push_back(std::chrono::steady_clock::now()); });

  double best = 1e9, maxGapMs = 0;
  long rowBytes = 0;
  for (int round = 0; round < 2; ++round) {
    const long before = bench::ResidentBytes();
    rounds.clear();
    beat.start();
    const auto start = std::chrono::steady_clock::now();
    rounds.push_back(start);
    window.RunSearch();
    rounds.push_back(std::chrono::steady_clock::now());
    beat.stop();
    best = std::min(best, bench::Seconds(start));
    for (std::size_t i = 1; i < rounds.size(); ++i) {
      maxGapMs = std::max(
          maxGapMs, std::chrono::duration<double, std::milli>(rounds[i] - rounds[i - 1]).count());
    }
    // Later rounds reuse the memory the first one freed: only the first shows what rows cost.
    if (round == 0) rowBytes = (bench::ResidentBytes() - before) / kFiles;
  }
  double pathBytes = 0;
  for (const auto& row : bench.records.list.rows) pathBytes += double(row.pathLength);
  const std::size_t rows = bench.records.list.rows.size();
  pathBytes /= double(std::max<std::size_t>(1, rows));

  double findBest = 1e9;
  for (int round = 0; round < 2; ++round) {
    findBest = std::min(findBest,
                        bench::TimeCommand("find '" + root + "' -type f -printf '%s %T@ %p\\n'"));
  }
  std::printf(
      "bench searchmem: rows=%zu corvale_s=%.3f find_s=%.3f ratio=%.2f bytes_per_row=%ld "
      "path_bytes=%.0f max_gap_ms=%.0f\n",
      rows, best, findBest, best / findBest, rowBytes, pathBytes, maxGapMs);
  return rows == kFiles ? 0 : 1;
}
