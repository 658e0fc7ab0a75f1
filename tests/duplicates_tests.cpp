#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "duplicates/digest_job.h"
#include "duplicates/digest_pool.h"
#include "duplicates/grouping.h"
#include "duplicates/md5_digest.h"
#include "tests/test_support.h"

namespace corvale::duplicates {
namespace {

using resultlist::kDigestColumn;
using resultlist::kMarkColumn;
using resultlist::ResultList;

TEST(Md5, Rfc1321Vectors) {
  const struct {
    const char* input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5Text(c.input), c.digest) << c.input;
  Md5Digest digest;
  digest.Begin();
  EXPECT_EQ(digest.Text(), "");
  digest.Add("ab", 2);
  digest.Add("", 0);
  digest.Add("c", 1);
  digest.Finish();
  EXPECT_EQ(digest.Text(), "900150983cd24fb0d6963f7d28e17f72");
}

std::string DigestOfFile(const std::string& path) {
  std::string result = "unset";
  auto job = MakeDigestJob(path, [&](const std::string& d) { result = d; });
  std::atomic<bool> cancelled{false};
  RunDigestJob(job, cancelled);
  return result;
}

TEST(DigestJob, ChunkBoundaries) {
  test::TempDir dir;
  for (std::size_t size : {std::size_t(0), kDigestChunkBytes, kDigestChunkBytes + 1}) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) content[i] = char(i * 7 % 251);
    const std::string path = dir / ("f" + std::to_string(size));
    test::WriteFile(path, content);
    EXPECT_EQ(DigestOfFile(path), Md5Text(content)) << size;
  }
}

TEST(DigestJob, EveryFailureStillReportsAnEmptyDigest) {
  test::TempDir dir;
  EXPECT_EQ(DigestOfFile(dir / "missing"), "");
  EXPECT_EQ(DigestOfFile(dir.Path()), "");  // a folder

  test::WriteFile(dir / "grows", "12345");
  auto grows = MakeDigestJob(dir / "grows", {});
  test::WriteFile(dir / "grows", "1234567890");  // changed after the job was made
  std::atomic<bool> cancelled{false};
  EXPECT_EQ(ComputeDigest(grows, cancelled), "");

  test::WriteFile(dir / "shrinks", "1234567890");
  auto shrinks = MakeDigestJob(dir / "shrinks", {});
  ASSERT_EQ(truncate((dir / "shrinks").c_str(), 3), 0);
  EXPECT_EQ(ComputeDigest(shrinks, cancelled), "");

  test::WriteFile(dir / "ok", "abc");
  auto job = MakeDigestJob(dir / "ok", {});
  cancelled = true;
  EXPECT_EQ(ComputeDigest(job, cancelled), "");
}

TEST(DigestPool, RunsJobsInSubmissionOrder) {
  DigestPool pool;
  DigestJob early;
  EXPECT_FALSE(pool.Submit(std::move(early)));  // not started
  std::mutex mutex;
  std::vector<std::string> order;
  std::promise<void> allDone;
  const auto function = [&](DigestJob& job, const std::atomic<bool>&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(job.path == "0" ? 30 : 0));
    std::lock_guard lock(mutex);
    order.push_back(job.path);
    if (order.size() == 20) allDone.set_value();
  };
  EXPECT_TRUE(pool.Start(function, 1));
  EXPECT_EQ(pool.State(), 1);
  EXPECT_FALSE(pool.Start(function, 1));  // a second start fails
  for (int i = 0; i < 20; ++i) {
    DigestJob job;
    job.path = std::to_string(i);
    EXPECT_TRUE(pool.Submit(std::move(job)));
  }
  ASSERT_EQ(allDone.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) expected.push_back(std::to_string(i));
  std::lock_guard lock(mutex);
  EXPECT_EQ(order, expected);
}

TEST(DigestPool, CancelDropsQueuedJobsAndWaitsForTheRunningOne) {
  DigestPool pool;
  std::atomic<int> ran{0};
  std::promise<void> started;
  pool.Start(
      [&](DigestJob&, const std::atomic<bool>& cancelled) {
        if (ran++ == 0) started.set_value();
        while (!cancelled) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      },
      1);
  for (int i = 0; i < 5; ++i) pool.Submit(DigestJob{});
  started.get_future().wait();
  pool.CancelAndWait();
  EXPECT_EQ(ran, 1);
  pool.Submit(DigestJob{});  // still running afterwards
  for (int i = 0; i < 1000 && ran < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(ran, 2);
}

struct Row {
  std::int64_t size;
  const char* digest;  // "" for a file without digest
  int inode;
};

// A list sorted by size, as the run has it before marking.
ResultList ListOf(const std::vector<Row>& rows) {
  ResultList list;
  for (const auto& r : rows) {
    auto& row = list.Append();
    row.byteSize = r.size;
    row.device = 1;
    row.inode = ino_t(r.inode);
    row.cells[resultlist::kPathColumn] = std::string("/f") + std::to_string(r.inode);
  }
  return list;
}

std::unordered_map<std::uint64_t, std::string> DigestsOf(const ResultList& list,
                                                         const std::vector<Row>& rows) {
  std::unordered_map<std::uint64_t, std::string> digests;
  for (std::size_t i = 0; i < rows.size(); ++i) digests[list.rows[i].id] = rows[i].digest;
  return digests;
}

std::vector<std::string> Marks(const ResultList& list) {
  std::vector<std::string> marks;
  for (const auto& row : list.rows) marks.push_back(row.cells[kMarkColumn]);
  return marks;
}

TEST(Grouping, MarksGroupsFromTheTop) {
  using V = std::vector<std::string>;
  const std::string A(32, 'a'), B(32, 'b'), C(32, 'c');
  struct Case {
    const char* what;
    std::vector<Row> rows;
    std::size_t candidates;
    V marks;  // after grouping, top to bottom
    std::size_t groups;
  } cases[] = {
      {"A A B C C sorted descending as C C B A A",
       {{5, A.c_str(), 1},
        {5, A.c_str(), 2},
        {5, B.c_str(), 3},
        {5, C.c_str(), 4},
        {5, C.c_str(), 5}},
       5,
       {"重复文件第1组", "重复文件第1组", "无", "重复文件第2组", "重复文件第2组"},
       2},
      {"B A A: the single one first",
       {{5, A.c_str(), 1}, {5, A.c_str(), 2}, {5, B.c_str(), 3}},
       3,
       {"无", "重复文件第1组", "重复文件第1组"},
       1},
      {"equal size, different content", {{5, A.c_str(), 1}, {5, B.c_str(), 2}}, 2, {"无", "无"}, 0},
      {"three equal plus another size",
       {{1, "", 9}, {5, A.c_str(), 1}, {5, A.c_str(), 2}, {5, A.c_str(), 3}},
       3,
       {"重复文件第1组", "重复文件第1组", "重复文件第1组", "无"},
       1},
      {"an unreadable candidate ends without digest",
       {{5, A.c_str(), 1}, {5, "", 2}, {5, A.c_str(), 3}},
       3,
       {"重复文件第1组", "重复文件第1组", "无"},
       1},
      {"a lone readable candidate", {{5, A.c_str(), 1}, {5, "", 2}}, 2, {"无", "无"}, 0},
      {"no candidates", {{1, "", 1}, {2, "", 2}}, 0, {"无", "无"}, 0},
  };
  for (const auto& c : cases) {
    auto list = ListOf(c.rows);
    EXPECT_EQ(MarkCandidates(list), c.candidates) << c.what;
    const auto result = GroupDuplicates(list, DigestsOf(list, c.rows));
    EXPECT_EQ(Marks(list), c.marks) << c.what;
    EXPECT_EQ(result.groups, c.groups) << c.what;
    EXPECT_EQ(result.files, c.rows.size()) << c.what;
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
      EXPECT_EQ(list.rows[r].cells[resultlist::kNumberColumn], std::to_string(r + 1));
      const bool member = resultlist::IsGroupMark(list.rows[r].cells[kMarkColumn]);
      if (member) {
        EXPECT_EQ(list.rows[r].cells[kDigestColumn].size(), 32u) << c.what;
      }
    }
  }
}

TEST(Grouping, TwoNamesOfOneFileAreOneCandidate) {
  // Rows 1 and 2 are one physical file (a hard or symbolic link); row 3 is a real copy.
  auto list = ListOf({{5, "", 1}, {5, "", 1}, {5, "", 3}});
  EXPECT_EQ(MarkCandidates(list), 2u);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"加入识别", "无", "加入识别"}));
  auto alone = ListOf({{5, "", 1}, {5, "", 1}});
  EXPECT_EQ(MarkCandidates(alone), 0u);
  EXPECT_EQ(Marks(alone), (std::vector<std::string>{"无", "无"}));
}

TEST(Grouping, EdgeLists) {
  ResultList empty;
  EXPECT_EQ(MarkCandidates(empty), 0u);
  EXPECT_EQ(GroupDuplicates(empty, {}).groups, 0u);
  auto one = ListOf({{5, "", 1}});
  EXPECT_EQ(MarkCandidates(one), 0u);
  EXPECT_EQ(Marks(one), std::vector<std::string>{""});  // a one-row list keeps its empty mark

  auto many = ListOf({});
  for (int g = 1; g <= 12; ++g) {
    many.Append().cells[kMarkColumn] = resultlist::GroupMark(g);
    many.Append().cells[kMarkColumn] = resultlist::GroupMark(g);
  }
  many.Append().cells[kMarkColumn] = "无";
  EXPECT_EQ(CountGroups(many), 12u);
}

}  // namespace
}  // namespace corvale::duplicates
