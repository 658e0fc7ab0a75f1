#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "tests/test_support.h"

namespace corvale::platform {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteFile;

TEST(IniFile, ReadsEntriesByTheWindowsRules) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  WriteFile(ini,
            "; comment\r\n"
            "[  Paths ]\r\n"
            "  Search Dir  =  /home/u/music  \r\n"
            "noequals\n"
            "[全局_筛大小 ]\n"
            " 全局_筛大小 =真\n"
            "[Paths]\n"
            "Search Dir=second section is never read\n"
            "[empty]\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Paths", "Search Dir", "/home/u/music"},
      {" paths ", "SEARCH DIR", "/home/u/music"},  // blanks and ASCII case do not matter
      {"全局_筛大小", "全局_筛大小", "真"},
      {"全局_筛大小 ", "全局_筛大小 ", "真"},
      {"Paths", "missing", ""},
      {"missing", "Search Dir", ""},
      {"empty", "x", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadProfileString(ini, c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ReadProfileString(dir / "none.ini", "Paths", "Search Dir"), "");
}

TEST(IniFile, WritesInPlaceAtSectionEndAndAtFileEnd) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  WriteFile(ini, "[one]\na=1\nb=2\n\n[two]\nc=3\n");
  EXPECT_TRUE(WriteProfileString(ini, "one", " A ", "10"));   // in place, name trimmed
  EXPECT_TRUE(WriteProfileString(ini, "ONE", "new", "x"));    // end of its section
  EXPECT_TRUE(WriteProfileString(ini, "three ", "d ", "4"));  // new section at file end
  EXPECT_EQ(ReadWholeFile(ini), "[one]\nA=10\nb=2\nnew=x\n\n[two]\nc=3\n[three]\nd=4\n");

  const std::string fresh = dir / "fresh.ini";
  EXPECT_TRUE(WriteProfileString(fresh, "载入目录", "载入目录", "/数据/音乐"));
  EXPECT_EQ(ReadProfileString(fresh, "载入目录", "载入目录"), "/数据/音乐");
}

TEST(IniFile, CutsLongValuesAtTheBufferSize) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  const std::string longValue(kProfileValueLimit + 100, 'x');
  ASSERT_TRUE(WriteProfileString(ini, "s", "k", longValue));
  EXPECT_EQ(ReadProfileString(ini, "s", "k"), std::string(kProfileValueLimit, 'x'));
}

TEST(IniFile, FailedWriteLeavesNothingBehind) {
  TempDir dir;
  test::MakeDirs(dir / "a.ini");  // a folder where the file should be: the rename must fail
  EXPECT_FALSE(WriteProfileString(dir / "a.ini", "s", "k", "new"));
  EXPECT_FALSE(WriteProfileString(dir / "missing/a.ini", "s", "k", "new"));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1u);  // no temporary file left
}

TEST(IniFile, ValuesComeBackAsTheyWereWritten) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  for (const char* value : {"/data/out ", " lead", "\"quoted\"", "a \"b\" c", "", "plain"}) {
    ASSERT_TRUE(WriteProfileString(ini, "s", "k", value)) << value;
    EXPECT_EQ(ReadProfileString(ini, "s", "k"), value);
  }
  WriteFile(ini, "[s]\nk=  \"  spaced  \"  \n");  // Windows reads a quoted value without quotes
  EXPECT_EQ(ReadProfileString(ini, "s", "k"), "  spaced  ");
}

TEST(IniFile, NeverDestroysWhatItCannotRewriteWhole) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  const std::string original = "[s]\nk=old\n[other]\nx=1\n";
  WriteFile(ini, original);
  // A value with a line break would split its line and corrupt the file.
  EXPECT_FALSE(WriteProfileString(ini, "s", "k", "two\nlines"));
  EXPECT_FALSE(WriteProfileString(ini, "s", "k", "cr\r"));
  EXPECT_EQ(ReadWholeFile(ini), original);
  // A read-only file stays as it is.
  chmod(ini.c_str(), 0444);
  EXPECT_FALSE(WriteProfileString(ini, "s", "k", "new"));
  EXPECT_EQ(ReadWholeFile(ini), original);
  chmod(ini.c_str(), 0644);
  // A file that exists but cannot be read would be replaced by the one entry. Root reads every
  // file: then a child that has given up root tries, in a folder it may write to.
  chmod(ini.c_str(), 0622);
  chmod(dir.Path().c_str(), 0777);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(WriteProfileString(ini, "s", "k", "new") ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the unreadable file was written";
  chmod(ini.c_str(), 0644);
  EXPECT_EQ(ReadWholeFile(ini), original);
}

TEST(IniFile, WritesThroughALinkAndTakesOverAStaleTemporaryFile) {
  TempDir dir;
  WriteFile(dir / "real/a.ini", "[s]\nk=old\n");
  test::MakeDirs(dir / "here");
  ASSERT_EQ(symlink((dir / "real/a.ini").c_str(), (dir / "here/a.ini").c_str()), 0);
  WriteFile(dir / "real/.a.ini.tmp", "left by a write that was killed");
  EXPECT_TRUE(WriteProfileString(dir / "here/a.ini", "s", "k", "new"));
  struct stat st {};
  ASSERT_EQ(lstat((dir / "here/a.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));  // still a link
  EXPECT_EQ(ReadWholeFile(dir / "real/a.ini"), "[s]\nk=new\n");
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir / "real")) {
    names.push_back(e.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"a.ini"});
  ASSERT_EQ(symlink((dir / "nowhere").c_str(), (dir / "dangling.ini").c_str()), 0);
  EXPECT_FALSE(WriteProfileString(dir / "dangling.ini", "s", "k", "v"));
}

TEST(IniFile, WritersInTwoProcessesLoseNoEntry) {
  TempDir dir;
  const std::string ini = dir / "a.ini";
  const pid_t child = fork();
  if (child == 0) {
    int failed = 0;
    for (int i = 0; i < 200; ++i) {
      failed += !WriteProfileString(ini, "child", "k" + std::to_string(i), "c");
    }
    _exit(failed);
  }
  for (int i = 0; i < 200; ++i) WriteProfileString(ini, "parent", "k" + std::to_string(i), "p");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(ReadProfileString(ini, "child", "k" + std::to_string(i)), "c") << i;
    EXPECT_EQ(ReadProfileString(ini, "parent", "k" + std::to_string(i)), "p") << i;
  }
}

TEST(FileSystem, ExtensionRule) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"archive.tar.gz", ".gz"},
      {"README", ""},
      {".config", ".config"},
      {"a.", "."},
      {"a. b", ""},
      {"/x.d/file", ""},
      {"/x.d/f.mp3", ".mp3"},
      {"Song.MP3", ".MP3"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PathFindExtension(c.path), c.expected) << c.path;
}

TEST(FileSystem, ShortSizeNotation) {
  struct Case {
    long long size;
    const char* expected;
  } cases[] = {
      {0, "0"},
      {1, "1 B"},
      {1023, "1023 B"},
      {1024, "1.00 KB"},
      {1331, "1.29 KB"},
      {1332, "1.30 KB"},
      {23449, "22.8 KB"},
      {23450, "22.9 KB"},
      {1047552, "1023 KB"},
      {1048575, "1023 KB"},
      {1048576, "1.00 MB"},
      {10 * 1048576LL, "10.0 MB"},
      {4294967296LL, "4.00 GB"},
      {1LL << 50, "1.00 PB"},
      {1LL << 62, "4.00 EB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteSize(c.size), c.expected) << c.size;
}

TEST(FileSystem, LocalTimeTextsFollowTheTimeZone) {
  const timespec t{1700000000, 0};  // 2023-11-14 22:13:20 UTC
  {
    test::ScopedTz tz("UTC");
    EXPECT_EQ(LocalTimeText(t), "2023-11-14 22:13:20");
  }
  {
    test::ScopedTz tz("Asia/Shanghai");
    EXPECT_EQ(LocalTimeText(t), "2023-11-15 06:13:20");
  }
  test::ScopedTz tz("UTC");
  const timespec midnight{1699920000, 0};  // 2023-11-14 00:00:00 UTC
  EXPECT_EQ(LocalTimeText(midnight), "2023-11-14 00:00:00");
}

TEST(FileSystem, SizeAndExistence) {
  TempDir dir;
  WriteFile(dir / "five", "12345");
  EXPECT_TRUE(PathExists(dir / "five"));
  EXPECT_TRUE(PathExists(dir.Path()));
  EXPECT_FALSE(PathExists(dir / "none"));
  EXPECT_FALSE(PathExists(""));
  ASSERT_TRUE(StatPath(dir / "five"));
  EXPECT_EQ(StatPath(dir / "five")->size, 5);
}

}  // namespace
}  // namespace corvale::platform
