#include <gtest/gtest.h>

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
