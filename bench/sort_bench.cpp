// Times a header-click sort of 100,000 rows in an offscreen MainWindow for each comparison kind.
#include <QApplication>
#include <cstdio>
#include <random>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "bench/bench_window.h"

using namespace corvale;

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  constexpr int kRows = 100000;
  app::AppRecords records;
  std::mt19937_64 random(42);
  for (int i = 0; i < kRows; ++i) {
    auto& row =
        records.list.Append("/home/user/music/album" + std::to_string(random() % 5000) + "/",
                            "file" + std::to_string(random() % 1000000) + ".dat");
    row.byteSize = std::int64_t(random() % 50000000);
    row.createdSeconds = std::int64_t(1.6e9 + double(random() % 100000000));
    row.modifiedNs = row.createdSeconds * 1000000000;
    row.checked = true;
  }
  bench::QuietSeams seams;
  app::MainWindow window(records, seams);
  window.show();

  const auto timeClick = [&](int column) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
      const auto start = std::chrono::steady_clock::now();
      window.OnHeaderClicked(column);
      best = std::min(best, bench::Seconds(start));
    }
    return best * 1000;
  };
  const double numberMs = timeClick(4);
  const double textMs = timeClick(3);
  const double dateMs = timeClick(6);
  std::printf("bench sort: rows=%d number_ms=%.1f text_ms=%.1f date_ms=%.1f\n", kRows, numberMs,
              textMs, dateMs);
  return textMs < 300 ? 0 : 1;
}
