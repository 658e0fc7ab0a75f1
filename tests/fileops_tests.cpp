#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fileops/transfer.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "tests/test_support.h"

namespace corvale::fileops {
namespace {

using platform::TransferResult;

TEST(ClashNames, StemAndMarker) {
  const struct {
    const char* name;
    int attempt;
    const char* expected;
  } cases[] = {
      {"a.txt", 1, "/t/a（有重名的——Corvale）.txt"},
      {"archive.tar.gz", 1, "/t/archive.tar（有重名的——Corvale）.gz"},
      {"README", 1, "/t/README（有重名的——Corvale）"},
      {".config", 1, "/t/（有重名的——Corvale）.config"},
      {"a.txt", 2, "/t/a（有重名的——Corvale）2.txt"},
      {"a.txt", 13, "/t/a（有重名的——Corvale）13.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClashName("/t", c.name, c.attempt), c.expected);
  EXPECT_EQ(FileStem("/x/archive.tar.gz"), "archive.tar");
  EXPECT_EQ(FileStem("/x/dir/"), "");
}

TEST(Transfer, CopyNeverReplacesAndNumbersFurtherClashes) {
  test::TempDir dir;
  test::WriteFile(dir / "src/a.txt", "new");
  chmod((dir / "src/a.txt").c_str(), 0640);
  test::SetModifiedTime(dir / "src/a.txt", 1600000000);
  test::WriteFile(dir / "out/a.txt", "old");
  test::WriteFile(dir / "out/a（有重名的——Corvale）.txt", "older clash copy");
  const std::string out = dir / "out";

  auto first = TransferToTarget(dir / "src/a.txt", "a.txt", out, false);
  EXPECT_TRUE(first.done);
  EXPECT_TRUE(first.clashed);
  EXPECT_EQ(first.destination, out + "/a（有重名的——Corvale）2.txt");
  auto second = TransferToTarget(dir / "src/a.txt", "a.txt", out, false);
  EXPECT_EQ(second.destination, out + "/a（有重名的——Corvale）3.txt");
  EXPECT_EQ(test::ReadWholeFile(out + "/a.txt"), "old");
  EXPECT_EQ(test::ReadWholeFile(out + "/a（有重名的——Corvale）.txt"), "older clash copy");
  EXPECT_EQ(test::ReadWholeFile(second.destination), "new");
  const auto facts = platform::StatPath(second.destination);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->modified.tv_sec, 1600000000);
  struct stat st {};
  stat(second.destination.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  auto fresh = TransferToTarget(dir / "src/a.txt", "a.txt", dir / "empty-target", false);
  EXPECT_FALSE(fresh.done);  // the folder does not exist: nothing arrives, nothing is claimed
  test::MakeDirs(dir / "empty-target");
  fresh = TransferToTarget(dir / "src/a.txt", "a.txt", dir / "empty-target", false);
  EXPECT_TRUE(fresh.done);
  EXPECT_FALSE(fresh.clashed);
  EXPECT_EQ(fresh.destination, dir / "empty-target/a.txt");

  // A folder of the same name is a clash too.
  test::MakeDirs(dir / "dirclash/a.txt");
  auto folderClash = TransferToTarget(dir / "src/a.txt", "a.txt", dir / "dirclash", false);
  EXPECT_TRUE(folderClash.clashed);
  EXPECT_TRUE(folderClash.done);
  auto missing = TransferToTarget(dir / "src/none.txt", "none.txt", out, false);
  EXPECT_FALSE(missing.done);
}

TEST(Transfer, MoveNeverReplaces) {
  test::TempDir dir;
  test::WriteFile(dir / "src/a.txt", "moved");
  test::WriteFile(dir / "out/a.txt", "stays");
  auto outcome = TransferToTarget(dir / "src/a.txt", "a.txt", dir / "out", true);
  EXPECT_TRUE(outcome.done);
  EXPECT_TRUE(outcome.clashed);
  EXPECT_FALSE(platform::PathExists(dir / "src/a.txt"));
  EXPECT_EQ(test::ReadWholeFile(dir / "out/a.txt"), "stays");
  EXPECT_EQ(test::ReadWholeFile(outcome.destination), "moved");
  test::WriteFile(dir / "x", "x");
  test::WriteFile(dir / "y", "y");
  EXPECT_EQ(platform::MoveFileNoReplace(dir / "x", dir / "y"), TransferResult::DestinationExists);
  EXPECT_EQ(platform::CopyFileNoReplace(dir / "x", dir / "y"), TransferResult::DestinationExists);
  EXPECT_EQ(test::ReadWholeFile(dir / "y"), "y");
}

TEST(Transfer, MoveAcrossFileSystems) {
  test::TempDir dir;
  struct stat here {
  }, shm{};
  if (stat("/dev/shm", &shm) != 0 || stat(dir.Path().c_str(), &here) != 0 ||
      here.st_dev == shm.st_dev) {
    GTEST_SKIP() << "no second file system: /dev/shm is missing or on the same device";
  }
  std::string target = "/dev/shm/corvale-test-XXXXXX";
  ASSERT_TRUE(mkdtemp(target.data()));
  test::WriteFile(dir / "a.bin", std::string(3 << 20, 'q'));
  auto outcome = TransferToTarget(dir / "a.bin", "a.bin", target, true);
  EXPECT_TRUE(outcome.done);
  EXPECT_FALSE(platform::PathExists(dir / "a.bin"));
  EXPECT_EQ(test::ReadWholeFile(target + "/a.bin"), std::string(3 << 20, 'q'));
  std::filesystem::remove_all(target);
}

TEST(Delete, RefusesFoldersAndReadOnlyFiles) {
  test::TempDir dir;
  test::WriteFile(dir / "plain", "");
  test::WriteFile(dir / "readonly", "");
  chmod((dir / "readonly").c_str(), 0444);
  test::MakeDirs(dir / "folder");
  test::WriteFile(dir / "target", "");
  ASSERT_EQ(symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
  EXPECT_TRUE(platform::DeleteFileStrict(dir / "plain"));
  EXPECT_FALSE(platform::DeleteFileStrict(dir / "readonly"));
  EXPECT_FALSE(platform::DeleteFileStrict(dir / "folder"));
  EXPECT_FALSE(platform::DeleteFileStrict(dir / "gone"));
  EXPECT_TRUE(platform::DeleteFileStrict(dir / "link"));
  EXPECT_TRUE(platform::PathExists(dir / "target"));  // the link went, not its file
  EXPECT_TRUE(platform::PathExists(dir / "readonly"));
  EXPECT_TRUE(platform::PathExists(dir / "folder"));
}

resultlist::ResultList ListWithMarks(const std::vector<std::int32_t>& marks) {
  resultlist::ResultList list;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    test::AddRow(list, "/row" + std::to_string(i + 1)).mark = marks[i];
  }
  return list;
}

TEST(OneClickDeletion, KeepsTheFirstOfEachRun) {
  using resultlist::kCandidateMark;
  using resultlist::kNoDuplicateMark;
  using resultlist::kNoMark;
  using V = std::vector<std::string>;
  const struct {
    std::vector<std::int32_t> marks;
    V victims;
  } cases[] = {
      {{1, 1, kNoDuplicateMark, 1, 2, 2}, {"/row2", "/row4", "/row6"}},
      {{1, 2, 1}, {}},
      {{kNoMark, kNoMark, kNoMark}, {}},
      {{kCandidateMark, kCandidateMark}, {}},  // a run still in progress deletes nothing
      {{1, kCandidateMark, 1}, {"/row3"}},
  };
  for (const auto& c : cases) {
    V victims;
    for (const auto& v : CollectDuplicateVictims(ListWithMarks(c.marks))) {
      victims.push_back(v.victim.path);
    }
    EXPECT_EQ(victims, c.victims);
  }
}

// The file at path as the search would have listed it now.
ListedFile Listed(const std::string& path) {
  const auto facts = platform::StatPath(path);
  return {path, facts->size, facts->ModifiedNs(), facts->device, facts->inode};
}

// Puts a new file (new inode) of the given content in path's place with path's old modification
// time, as cp -p, unpacking an archive or restoring a backup do.
void ReplaceKeepingTheTime(const std::string& path, const std::string& content) {
  const auto old = platform::StatPath(path);
  test::WriteFile(path + ".new", content);
  const timespec times[2] = {old->modified, old->modified};
  utimensat(AT_FDCWD, (path + ".new").c_str(), times, 0);
  ASSERT_EQ(rename((path + ".new").c_str(), path.c_str()), 0);
}

TEST(OneClickDeletion, OnlyWhileBothFilesAreTheOnesTheRunDigested) {
  test::TempDir dir;
  test::WriteFile(dir / "keep", "same");
  test::WriteFile(dir / "copy", "same");
  ASSERT_EQ(link((dir / "keep").c_str(), (dir / "hardlink").c_str()), 0);
  const DuplicateVictim ok{Listed(dir / "copy"), Listed(dir / "keep")};
  EXPECT_TRUE(SafeToDelete(ok));
  EXPECT_FALSE(SafeToDelete({Listed(dir / "hardlink"), Listed(dir / "keep")}));

  // Replaced by another file of the same size and time: another inode.
  ReplaceKeepingTheTime(dir / "copy", "diff");
  EXPECT_EQ(platform::StatPath(dir / "copy")->ModifiedNs(), ok.victim.modifiedNs);
  EXPECT_FALSE(SafeToDelete(ok));
  const DuplicateVictim relisted{Listed(dir / "copy"), Listed(dir / "keep")};
  ReplaceKeepingTheTime(dir / "keep", "kept");  // now the kept copy is another file
  EXPECT_FALSE(SafeToDelete(relisted));

  const DuplicateVictim again{Listed(dir / "copy"), Listed(dir / "keep")};
  test::WriteFile(dir / "keep", "edited!");  // the kept file changed since the search
  EXPECT_FALSE(SafeToDelete(again));
  std::remove((dir / "keep").c_str());
  EXPECT_FALSE(SafeToDelete(again));
}

}  // namespace
}  // namespace corvale::fileops
