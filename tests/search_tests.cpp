#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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
    int sizeReads = 0;
    FilterHooks hooks{{}, [&](const std::string&) {
                        ++sizeReads;
                        return c.size;
                      }};
    EXPECT_EQ(filter.Accepts(c.name, std::string("/x/") + c.name, hooks), c.listed) << c.what;
    if (c.settings.sizeFilterText != "筛选") {
      EXPECT_EQ(sizeReads, 0) << c.what;
    }
  }
}

TEST(FileFilter, RepeatedSuffixDecidesOnceAndPumpsBeforeComparisons) {
  const auto s = Settings("mp3,mp3,wav");
  FileFilter filter(s);
  int pumps = 0;
  FilterHooks hooks{[&] { ++pumps; }, {}};
  EXPECT_TRUE(filter.Accepts("a.mp3", "/x/a.mp3", hooks));
  EXPECT_GE(pumps, 1);
  pumps = 0;
  EXPECT_FALSE(filter.Accepts("a.ogg", "/x/a.ogg", hooks));
  EXPECT_EQ(pumps, 3);  // one per suffix entry
}

TEST(FileFilter, FollowsSuffixChangesBetweenEntries) {
  auto s = Settings("mp3");
  FileFilter filter(s);
  EXPECT_FALSE(filter.Accepts("a.wav", "/x/a.wav", {}));
  s.suffixText = "wav";
  EXPECT_TRUE(filter.Accepts("a.wav", "/x/a.wav", {}));
}

TEST(FileFacts, SizesTimesAndExistence) {
  test::TempDir dir;
  test::ScopedTz tz("UTC");
  test::WriteFile(dir / "empty", "");
  test::WriteFile(dir / "k.bin", std::string(1332, 'x'));
  test::SetModifiedTime(dir / "k.bin", 1700000000);
  EXPECT_EQ(FileSizeText(dir / "empty", false), "0");
  EXPECT_EQ(FileSizeText(dir / "empty", true), "0");
  EXPECT_EQ(FileSizeText(dir / "k.bin", false), "1332");
  EXPECT_EQ(FileSizeText(dir / "k.bin", true), "1.30 KB");
  EXPECT_EQ(FileSizeText(dir / "missing", true), "0");
  EXPECT_EQ(FileExtension("archive.tar.gz"), ".gz");
  EXPECT_EQ(FileExtension("README"), "");

  const auto times = FileTimeTexts(dir / "k.bin");
  EXPECT_TRUE(times.ok);
  EXPECT_EQ(times.modified, "2023-11-14 22:13:20");
  EXPECT_EQ(times.accessed, "2023-11-14 22:13:20");
  EXPECT_EQ(times.created.size(), 19u);
  const auto missing = FileTimeTexts(dir / "missing");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.created + missing.modified + missing.accessed, "");

  const auto row = FactsForRow(dir / "k.bin");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->size, 1332);
  EXPECT_EQ(row->sizeText, "1.30 KB");
  EXPECT_EQ(row->modified, "2023-11-14 22:13:20");
  EXPECT_FALSE(FactsForRow(dir / "missing"));
}

TEST(FileFacts, PlainSizeIsSixtyFourBit) {
  test::TempDir dir;
  const std::string path = dir / "sparse";
  test::WriteFile(path, "");
  ASSERT_EQ(truncate(path.c_str(), 4294967296LL), 0);
  EXPECT_EQ(FileSizeText(path, false), "4294967296");
  EXPECT_EQ(FileSizeText(path, true), "4.00 GB");
}

std::vector<std::string> Walked(const std::string& folder, const WalkHooks& hooks = {}) {
  std::vector<std::string> paths;
  WalkFolder(
      folder, "", true,
      [&](const std::string&, const std::string& path, int) {
        paths.push_back(path.substr(folder.size()));
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
  WalkFolder(dir / "t", "", true, [&](const std::string&, const std::string& p, int) {
    noSlash.push_back(p.substr(dir.Path().size() + 3));
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
  EXPECT_EQ(walked, (std::vector<std::string>{".dotfile", ".hidden", ".hidden/.", ".hidden/..",
                                              ".hidden/inside.txt", "filelink", "plain.txt"}));
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
