// Times a duplicate run (search with "显示重复文件") over 100,000 small files beside jdupes -r on
// the same tree, both under the usual desktop open-file limit of 1,024, and checks that every
// group of identical files is found.
#include <sys/resource.h>

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <set>

#include "app/main_window.h"
#include "bench/bench_support.h"
#include "bench/bench_window.h"

using namespace corvale;

namespace {

constexpr int kFiles = 100000;
constexpr int kFolders = 1000;

// Sizes from 1 to 64 KB, spread evenly over the powers of two as real files are, so many small
// files share a size; about one file in ten belongs to a group of two to four identical files.
std::string MakeScaleTree() {
  const std::string root =
      (std::filesystem::temp_directory_path() / "corvale-bench-dupscale").string();
  if (std::filesystem::exists(root + "/.complete")) return root;
  std::filesystem::remove_all(root);
  for (int f = 0; f < kFolders; ++f)
    std::filesystem::create_directories(root + "/d" + std::to_string(f));
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> exponent(0.0, 6.0);
  std::string content;
  const auto fill = [&] {
    content.resize(std::size_t(1024 * std::pow(2.0, exponent(random))));
    for (std::size_t i = 0; i < content.size(); i += 8) {
      const std::uint64_t bits = random();
      std::memcpy(content.data() + i, &bits, std::min<std::size_t>(8, content.size() - i));
    }
  };
  for (int made = 0; made < kFiles;) {
    fill();
    // One group in 28 draws of three files on average puts a tenth of the files in groups.
    const int copies = random() % 28 == 0 ? 2 + int(random() % 3) : 1;
    for (int c = 0; c < copies && made < kFiles; ++c, ++made) {
      std::ofstream(
          root + "/d" + std::to_string(made % kFolders) + "/f" + std::to_string(made) + ".dat",
          std::ios::binary)
          << content;
    }
  }
  std::ofstream(root + "/.complete") << "";
  return root;
}

// Groups of identical contents among the tree's files, counted by reading every file.
std::size_t TrueGroups(const std::string& root) {
  std::map<std::pair<std::size_t, std::string>, int> copies;  // (size, content hash) -> files
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".dat") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    ++copies[{content.size(), std::to_string(std::hash<std::string>{}(content))}];
  }
  std::size_t groups = 0;
  for (const auto& [key, count] : copies) groups += count >= 2;
  return groups;
}

}  // namespace

int main(int argc, char** argv) {
  const rlimit desktop{1024, 1024};
  setrlimit(RLIMIT_NOFILE, &desktop);
  QApplication application(argc, argv);
  const std::string root = MakeScaleTree();
  bench::WarmUp(root);
  bench::TimeCommand("find '" + root + "' -name '*.dat' -exec cat {} +");
  const std::size_t trueGroups = TrueGroups(root);

  bench::SearchWindow bench(root, "dat", true);
  double best = 1e9;
  for (int round = 0; round < 3; ++round)
    best = std::min(best, bench::RunSearchToSummary(bench.window));
  std::set<std::int32_t> groups;
  for (const auto& row : bench.records.list.rows) {
    if (row.InGroup()) groups.insert(row.mark);
  }
  double jdupesBest = 1e9;
  for (int round = 0; round < 3; ++round) {
    jdupesBest =
        std::min(jdupesBest, bench::TimeCommand("ulimit -n 1024; jdupes -r '" + root + "'"));
  }
  std::printf(
      "bench dupscale: files=%zu groups=%zu true_groups=%zu corvale_s=%.3f jdupes_s=%.3f "
      "ratio_jdupes=%.2f\n",
      bench.records.list.rows.size(), groups.size(), trueGroups, best, jdupesBest,
      best / jdupesBest);
  return groups.size() == trueGroups && bench.records.list.rows.size() == kFiles ? 0 : 1;
}
