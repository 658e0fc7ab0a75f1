// Times the filter decision plus the one stat of every listed file over a generated tree,
// beside find(1) printing size, time and path of the same files.
#include <cstdio>

#include "bench/bench_support.h"
#include "platform/file_system.h"
#include "search/file_filter.h"
#include "search/walk.h"

using namespace corvale;

int main() {
  constexpr int kFiles = 100000;
  const std::string root = bench::MakeTree("corvale-bench-filter", kFiles, 1000);
  bench::WarmUp(root);

  settings::FilterSettings s;
  s.suffixText = "mp3,dat";
  s.sizeFilterText = "筛选";
  s.sizeCompareText = "大于";
  s.sizeValue = 1;
  s.sizeUnitText = "MB";
  s.nameFilterText = "不筛选";
  search::FileFilter filter(s);

  double best = 1e9;
  long listed = 0;
  for (int round = 0; round < 3; ++round) {
    listed = 0;
    const auto start = std::chrono::steady_clock::now();
    search::WalkFolder(root, "", true, [&](std::string_view name, const std::string&, int fd) {
      if (!filter.MatchesSuffix(name)) return;
      const auto facts = platform::StatAt(fd, name.data());
      if (facts && filter.PassesSizeAndName(name, facts->size)) ++listed;
    });
    best = std::min(best, bench::Seconds(start));
  }
  double findBest = 1e9;
  for (int round = 0; round < 3; ++round) {
    findBest = std::min(findBest,
                        bench::TimeCommand("find '" + root + "' -type f -printf '%s %T@ %p\\n'"));
  }
  std::printf("bench filter: files=%ld corvale_s=%.3f find_s=%.3f ratio=%.2f files_per_s=%.0f\n",
              listed, best, findBest, best / findBest, listed / best);
  return listed == kFiles ? 0 : 1;
}
