// Times a duplicate run (search with "显示重复文件") over 1 GB of cached files, half of them in
// groups of identical files, beside md5sum over the same candidate files and fdupes -r.
#include <QApplication>
#include <cstdio>
#include <random>
#include <thread>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "bench/bench_window.h"

using namespace corvale;

namespace {

// 200 files of 5 MiB: 50 pairs of identical files and 100 files of the same size that differ.
std::string MakeDuplicateTree() {
  const std::string root = (std::filesystem::temp_directory_path() / "corvale-bench-dups").string();
  if (std::filesystem::exists(root + "/.complete")) return root;
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "/a");
  std::filesystem::create_directories(root + "/b");
  std::mt19937_64 random(7);
  std::string content(5 << 20, '\0');
  for (int i = 0; i < 150; ++i) {
    for (auto& c : content) c = char(random());
    std::ofstream(root + "/a/f" + std::to_string(i) + ".dat", std::ios::binary) << content;
    if (i < 50)
      std::ofstream(root + "/b/f" + std::to_string(i) + ".dat", std::ios::binary) << content;
  }
  std::ofstream(root + "/.complete") << "";
  return root;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const std::string root = MakeDuplicateTree();
  bench::WarmUp(root);
  bench::TimeCommand("cat $(find '" + root + "' -name '*.dat')");

  bench::SearchWindow bench(root, "dat", true);
  app::MainWindow& window = bench.window;
  const auto& records = bench.records;

  double best = 1e9;
  for (int round = 0; round < 3; ++round) best = std::min(best, bench::RunSearchToSummary(window));
  std::size_t groups = 0;
  for (const auto& row : records.list.rows) groups += row.mark == 1;
  const std::string files = "find '" + root + "' -name '*.dat' -print0 | xargs -0 ";
  double md5sumBest = 1e9, fdupesBest = 1e9;
  for (int round = 0; round < 3; ++round) {
    md5sumBest = std::min(md5sumBest, bench::TimeCommand(files + "md5sum"));
    fdupesBest = std::min(fdupesBest, bench::TimeCommand("fdupes -r '" + root + "'"));
  }
  // Every file is a candidate (one size): the run can be no faster than all bytes through MD5 on
  // every core.
  const double bytes = 200.0 * (5 << 20);
  const double limit = bytes / (bench::Md5BytesPerSecond() * std::thread::hardware_concurrency());
  std::printf(
      "bench duplicates: files=%zu bytes=%.0f corvale_s=%.3f md5sum_s=%.3f fdupes_s=%.3f "
      "ratio_md5sum=%.2f ratio_fdupes=%.2f limit_s=%.3f ratio_limit=%.2f\n",
      records.list.rows.size(), bytes, best, md5sumBest, fdupesBest, best / md5sumBest,
      best / fdupesBest, limit, best / limit);
  return records.list.rows.size() == 200 && groups == 2 ? 0 : 1;
}
