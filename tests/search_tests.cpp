#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "search/file_facts.h"
#include "search/file_filter.h"
#include "search/walk.h"
#include "tests/test_support.h"

namespace corvale::search {
namespace {

using settings::FilterSettings;

TEST(FilterText, FindTextAndLastDot) {
  EXPECT_EQ(FindText("预告样片.mp4", "样片"), 7);
  EXPECT_EQ(FindText("yangpian.mp4", "样片"), -1);
  EXPECT_EQ(FindText("song.mp3", "Mp"), -1);
  EXPECT_EQ(FindText("song.mp3", "mp"), 6);
  EXPECT_EQ(FindText("", "a"), -1);
  EXPECT_EQ(FindText("a", ""), -1);
  EXPECT_EQ(TextAfterLastDot(".tar.gz"), "gz");
  EXPECT_EQ(TextAfterLastDot("."), "");
  EXPECT_EQ(TextAfterLastDot("none"), "");
}

TEST(FilterText, SplitAtComma) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitAtComma(""), V{});
  EXPECT_EQ(SplitAtComma("mp3"), V{"mp3"});
  EXPECT_EQ(SplitAtComma("mp3, avi"), (V{"mp3", " avi"}));
  EXPECT_EQ(SplitAtComma("mp3,,avi"), (V{"mp3", "", "avi"}));
  EXPECT_EQ(SplitAtComma(",mp3"), (V{"", "mp3"}));
  EXPECT_EQ(SplitAtComma("mp3,"), V{"mp3"});
  EXPECT_EQ(SplitAtComma("预览视频,样片"), (V{"预览视频", "样片"}));
}

FilterSettings Settings(std::string suffix, std::string sizeSwitch = "不筛选",
                        std::string compare = "", std::int32_t value = 0, std::string unit = "",
                        std::string nameSwitch = "不筛选", std::string keywords = "") {
  FilterSettings s;
  s.suffixText = std::move(suffix);
  s.sizeFilterText = std::move(sizeSwitch);
  s.sizeCompareText = std::move(compare);
  s.sizeValue = value;
  s.sizeUnitText = std::move(unit);
  s.nameFilterText = std::move(nameSwitch);
  s.keywordText = std::move(keywords);
  return s;
}

TEST(FileFilter, DecidesBySuffixSizeAndName) {
  constexpr std::int64_t kMB = 1048576;
  struct Case {
    const char* what;
    FilterSettings settings;
    const char* name;
    std::int64_t size;
    bool listed;
  } cases[] = {
      {"suffix case counts", Settings("mp3"), "Song.MP3", 1, false},
      {"suffix matches", Settings("mp3"), "song.mp3", 1, true},
      {"last dot decides", Settings("mp3"), "a.b.mp3", 1, true},
      {"untrimmed entry", Settings("mp3, avi"), "film.avi", 1, false},
      {"empty entry: no extension", Settings("mp3,,avi"), "README", 1, true},
      {"empty entry: trailing dot", Settings(",mp3"), "odd.", 1, true},
      {"trailing comma adds nothing", Settings("mp3,"), "README", 1, false},
      {"no suffix list", Settings(""), "a.mp3", 1, false},
      {"greater: exactly the limit listed", Settings("mp3", "筛选", "大于", 10, "MB"), "a.mp3",
       10 * kMB, true},
      {"greater: one byte more skipped", Settings("mp3", "筛选", "大于", 10, "MB"), "a.mp3",
       10 * kMB + 1, false},
      {"less: 1023 skipped", Settings("mp3", "筛选", "小于", 1, "KB"), "a.mp3", 1023, false},
      {"less: 1024 listed", Settings("mp3", "筛选", "小于", 1, "KB"), "a.mp3", 1024, true},
      {"equal 0 B: empty skipped", Settings("mp3", "筛选", "等于", 0, "B"), "a.mp3", 0, false},
      {"equal 0 B: non-empty listed", Settings("mp3", "筛选", "等于", 0, "B"), "a.mp3", 1, true},
      {"unit case ignored", Settings("mp3", "筛选", "等于", 1, "mB"), "a.mp3", kMB, false},
      {"unknown unit: limit 0", Settings("mp3", "筛选", "大于", 5, "TB"), "a.mp3", 1, false},
      {"compare placeholder lists nothing", Settings("mp3", "筛选", "请选择", 5, "MB"), "a.mp3", 1,
       false},
      {"no wrap at 4 GiB", Settings("iso", "筛选", "大于", 3, "GB"), "a.iso", 4LL << 30, false},
      {"3 GiB below a 4 GB limit", Settings("iso", "筛选", "大于", 4, "GB"), "a.iso", 3LL << 30,
       true},
      {"empty size switch lists nothing", Settings("mp3", ""), "a.mp3", 1, false},
      {"include keyword", Settings("mp4", "不筛选", "", 0, "", "包含以下关键词", "样片"),
       "预告样片.mp4", 1, true},
      {"include keyword absent", Settings("mp4", "不筛选", "", 0, "", "包含以下关键词", "样片"),
       "yangpian.mp4", 1, false},
      {"include any of several",
       Settings("mp4", "不筛选", "", 0, "", "包含以下关键词", "预览,样片"), "样片.mp4", 1, true},
      {"skip none of several", Settings("mp4", "不筛选", "", 0, "", "跳过以下关键词", "预览,样片"),
       "样片x.mp4", 1, false},
      {"skip lists a name without keywords",
       Settings("mp4", "不筛选", "", 0, "", "跳过以下关键词", "预览,样片"), "film.mp4", 1, true},
      {"keyword searched in the extension",
       Settings("mp4", "不筛选", "", 0, "", "包含以下关键词", "mp4"), "film.mp4", 1, true},
      {"empty keyword list lists nothing",
       Settings("mp4", "不筛选", "", 0, "", "跳过以下关键词", ""), "film.mp4", 1, false},
      {"unknown name mode lists nothing", Settings("mp4", "不筛选", "", 0, "", "别的", "a"),
       "film.mp4", 1, false},
      {"size and name: other mode tests as skip",
       Settings("mp4", "筛选", "大于", 1, "KB", "别的", "a"), "data.mp4", 10, false},
      {"size and name both pass", Settings("mp4", "筛选", "大于", 1, "KB", "包含以下关键词", "fi"),
       "film.mp4", 10, true},
      {"size and name: size fails",
       Settings("mp4", "筛选", "大于", 1, "KB", "包含以下关键词", "fi"), "film.mp4", 2000, false},
  };
  for (const auto& c : cases) {
    FileFilter filter(c.settings);
    EXPECT_EQ(filter.Accepts(c.name, c.size), c.listed) << c.what;
  }
}

TEST(FileFilter, FollowsSuffixChangesBetweenEntries) {
  auto s = Settings("mp3,mp3");
  FileFilter filter(s);
  EXPECT_TRUE(filter.MatchesSuffix("a.mp3"));
  EXPECT_FALSE(filter.MatchesSuffix("a.wav"));
  s.suffixText = "wav";
  EXPECT_TRUE(filter.MatchesSuffix("a.wav"));
}

TEST(FileFacts, ExistenceAndExtension) {
  test::TempDir dir;
  test::WriteFile(dir / "k.bin", "x");
  EXPECT_TRUE(FileExists(dir / "k.bin"));
  EXPECT_TRUE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / "missing"));
  EXPECT_EQ(FileExtension("archive.tar.gz"), ".gz");
  EXPECT_EQ(FileExtension("README"), "");
}

// Paths below folder, in walk order.
std::vector<std::string> Walked(const std::string& folder, const WalkHooks& hooks = {}) {
  std::vector<std::string> paths;
  WalkFolder(
      folder, "", true,
      [&](std::string_view name, const std::string& in, int fd) {
        EXPECT_GE(fd, 0);
        EXPECT_EQ(name.data()[name.size()], '\0');  // callers hand the name to *at() calls
        paths.push_back(in.substr(folder.size()) + std::string(name));
      },
      hooks);
  return paths;
}

TEST(Walk, DepthFirstFilesBeforeSubfolders) {
  test::TempDir dir;
  test::WriteFile(dir / "t/top.txt", "");
  test::WriteFile(dir / "t/a/one.txt", "");
  test::WriteFile(dir / "t/a/deep/two.txt", "");
  test::WriteFile(dir / "t/b/three", "");
  test::MakeDirs(dir / "t/only-folders/x");
  auto walked = Walked(dir / "t/");
  // File-system order within a folder is not sorted; compare the structure, not the order.
  ASSERT_EQ(walked.size(), 4u);
  EXPECT_EQ(walked[0], "top.txt");
  const auto pos = [&](const char* p) {
    return std::find(walked.begin(), walked.end(), p) - walked.begin();
  };
  EXPECT_EQ(pos("a/deep/two.txt"), pos("a/one.txt") + 1);
  EXPECT_LT(pos("b/three"), 4);
  std::vector<std::string> noSlash;
  WalkFolder(dir / "t", "", true, [&](std::string_view name, const std::string& in, int) {
    noSlash.push_back(in.substr(dir.Path().size() + 3) + std::string(name));
  });
  EXPECT_EQ(noSlash, walked);  // a trailing "/" is added when missing
}

TEST(Walk, EntryRules) {
  test::TempDir dir;
  const std::string root = dir / "t/";
  test::WriteFile(root + "plain.txt", "");
  test::WriteFile(root + ".dotfile", "");
  test::WriteFile(root + ".hidden/inside.txt", "");
  test::WriteFile(dir / "outside/target.txt", "");
  ASSERT_EQ(mkfifo((root + "fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/nonexistent/target", (root + "dangling").c_str()), 0);
  ASSERT_EQ(symlink((dir / "outside/target.txt").c_str(), (root + "filelink").c_str()), 0);
  ASSERT_EQ(symlink(root.c_str(), (root + "cycle").c_str()), 0);  // link to an ancestor
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sockPath = root + "sock";
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sockPath.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  if (geteuid() != 0) {
    test::WriteFile(root + "locked/secret.txt", "");
    chmod((root + "locked").c_str(), 0);
  }

  auto walked = Walked(root);
  close(sock);
  std::sort(walked.begin(), walked.end());
  // A hidden folder is an entry too; its "." and ".." are never handed over.
  EXPECT_EQ(walked, (std::vector<std::string>{".dotfile", ".hidden", ".hidden/inside.txt",
                                              "filelink", "plain.txt"}));
}

TEST(Walk, MissingFolderOrFileYieldsNothing) {
  test::TempDir dir;
  test::WriteFile(dir / "file.txt", "");
  EXPECT_TRUE(Walked(dir / "none").empty());
  EXPECT_TRUE(Walked(dir / "file.txt").empty());
}

TEST(Walk, SecondPathToAFolderIsWalkedOnce) {
  test::TempDir dir;
  test::WriteFile(dir / "t/real/a.txt", "");
  ASSERT_EQ(symlink((dir / "t/real").c_str(), (dir / "t/alias").c_str()), 0);
  EXPECT_EQ(Walked(dir / "t/").size(), 1u);
}

TEST(Walk, HooksRunAfterSubfoldersAndCanStop) {
  test::TempDir dir;
  for (const char* f : {"t/a/1", "t/b/2", "t/c/3"}) test::WriteFile(dir / f, "");
  int after = 0;
  WalkHooks hooks{[&] { ++after; }, [&] { return after == 1; }};
  EXPECT_EQ(Walked(dir / "t/", hooks).size(), 1u);
  EXPECT_EQ(after, 1);
}

}  // namespace
}  // namespace corvale::search

namespace corvale::search {
namespace {

// Nested folders "aaaaaaaa" below root, each level with a side folder "z" holding side.txt, made
// through *at() calls: the deepest paths are longer than the kernel takes whole.
void MakeDeepTree(const std::string& root, int levels) {
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < levels && fd >= 0; ++level) {
    mkdirat(fd, "z", 0755);
    const int side = openat(fd, "z", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(openat(side, "side.txt", O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    close(side);
    mkdirat(fd, "aaaaaaaa", 0755);
    const int next = openat(fd, "aaaaaaaa", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  close(fd);
}

TEST(Walk, DepthNeedsNoDescriptorPerLevelAndReachesPastTheLongestPath) {
  test::TempDir dir;
  test::MakeDirs(dir / "t");
  // Every level still has its side folder to visit after the deep one; the deepest path is about
  // 10,000 bytes.
  MakeDeepTree(dir / "t", 1100);
  std::vector<std::string> expected;
  for (int level = 0; level < 1100; ++level) {
    std::string path;
    for (int i = 0; i < level; ++i) path += "aaaaaaaa/";
    expected.push_back(path + "z/side.txt");
  }
  std::vector<std::string> walked;
  {
    test::ScopedFileLimit limit(32);
    walked = Walked(dir / "t/");
  }
  std::system(("rm -rf '" + dir / "t" + "'").c_str());
  std::sort(walked.begin(), walked.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(walked, expected);
}

}  // namespace
}  // namespace corvale::search
