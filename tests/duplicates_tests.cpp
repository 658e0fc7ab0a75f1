#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "duplicates/digest_inbox.h"
#include "duplicates/digest_job.h"
#include "duplicates/digest_pool.h"
#include "duplicates/grouping.h"
#include "duplicates/md5_digest.h"
#include "tests/test_support.h"

namespace corvale::duplicates {
namespace {

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

// A job for the file at path as it is now.
DigestJob JobFor(const std::string& path) {
  DigestJob job;
  job.path = path;
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    job.expectedSize = st.st_size;
    job.device = st.st_dev;
    job.inode = st.st_ino;
  }
  return job;
}

std::string DigestOfFile(const std::string& path) {
  std::atomic<bool> cancelled{false};
  const auto digest = ComputeDigest(JobFor(path), cancelled);
  return digest ? resultlist::DigestText(*digest) : "";
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

TEST(DigestJob, OnlyTheListedFileWholeGetsADigest) {
  test::TempDir dir;
  std::atomic<bool> cancelled{false};
  EXPECT_EQ(DigestOfFile(dir / "missing"), "");
  EXPECT_EQ(DigestOfFile(dir.Path()), "");  // a folder

  test::WriteFile(dir / "grows", "12345");
  const auto grows = JobFor(dir / "grows");
  test::WriteFile(dir / "grows", "1234567890");  // changed after it was listed
  EXPECT_FALSE(ComputeDigest(grows, cancelled));

  test::WriteFile(dir / "shrinks", "1234567890");
  const auto shrinks = JobFor(dir / "shrinks");
  ASSERT_EQ(truncate((dir / "shrinks").c_str(), 3), 0);
  EXPECT_FALSE(ComputeDigest(shrinks, cancelled));

  test::WriteFile(dir / "replaced", "abc");
  const auto replaced = JobFor(dir / "replaced");
  test::WriteFile(dir / "other", "xyz");  // same size, another file
  ASSERT_EQ(rename((dir / "other").c_str(), (dir / "replaced").c_str()), 0);
  EXPECT_FALSE(ComputeDigest(replaced, cancelled));

  test::WriteFile(dir / "ok", "abc");
  const auto job = JobFor(dir / "ok");
  EXPECT_TRUE(ComputeDigest(job, cancelled));
  cancelled = true;
  EXPECT_FALSE(ComputeDigest(job, cancelled));
}

TEST(DigestJob, ReportsEvenAFailureButNotACancel) {
  test::TempDir dir;
  std::atomic<bool> cancelled{false};
  auto job = JobFor(dir / "missing");
  job.candidate = 7;
  std::size_t reported = 0;
  std::optional<resultlist::Digest> digest{resultlist::Digest{}};
  job.done = [&](std::size_t candidate, const std::optional<resultlist::Digest>& d) {
    reported = candidate;
    digest = d;
  };
  RunDigestJob(job, cancelled);
  EXPECT_EQ(reported, 7u);
  EXPECT_FALSE(digest);
  reported = 0;
  cancelled = true;
  RunDigestJob(job, cancelled);
  EXPECT_EQ(reported, 0u);
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

TEST(DigestInbox, WakesOncePerBatch) {
  DigestInbox inbox;
  EXPECT_TRUE(inbox.Post({1, 0, std::nullopt}));
  EXPECT_FALSE(inbox.Post({1, 1, resultlist::Digest{}}));
  const auto batch = inbox.Take();
  ASSERT_EQ(batch.size(), 2u);
  EXPECT_EQ(batch[1].candidate, 1u);
  EXPECT_TRUE(inbox.Take().empty());
  EXPECT_TRUE(inbox.Post({1, 2, std::nullopt}));  // the next batch wakes again
}

struct Row {
  std::int64_t size;
  char digest;  // the digest's first byte; 0 for a file without digest
  int inode;
};

// A list sorted by size, as the run has it before marking.
ResultList ListOf(const std::vector<Row>& rows) {
  ResultList list;
  for (const auto& r : rows) {
    auto& row = test::AddRow(list, "/f" + std::to_string(r.inode));
    row.byteSize = r.size;
    row.device = 1;
    row.inode = ino_t(r.inode);
  }
  return list;
}

// The digests of the candidates, in candidate order.
std::vector<std::optional<resultlist::Digest>> DigestsOf(const std::vector<Candidate>& candidates,
                                                         const std::vector<Row>& rows) {
  std::vector<std::optional<resultlist::Digest>> digests;
  for (const Candidate& c : candidates) {
    if (rows[c.row].digest == 0) {
      digests.emplace_back();
    } else {
      resultlist::Digest d{};
      d[0] = std::uint8_t(rows[c.row].digest);
      digests.emplace_back(d);
    }
  }
  return digests;
}

std::vector<std::string> Marks(const ResultList& list) {
  std::vector<std::string> marks;
  for (const auto& row : list.rows) marks.push_back(resultlist::MarkText(row.mark));
  return marks;
}

TEST(Grouping, MarksGroupsFromTheTop) {
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    std::vector<Row> rows;
    std::size_t candidates;
    V marks;  // after grouping, top to bottom
    std::size_t groups;
  } cases[] = {
      {"A A B C C sorted descending as C C B A A",
       {{5, 'A', 1}, {5, 'A', 2}, {5, 'B', 3}, {5, 'C', 4}, {5, 'C', 5}},
       5,
       {"重复文件第1组", "重复文件第1组", "无", "重复文件第2组", "重复文件第2组"},
       2},
      {"B A A: the single one first",
       {{5, 'A', 1}, {5, 'A', 2}, {5, 'B', 3}},
       3,
       {"无", "重复文件第1组", "重复文件第1组"},
       1},
      {"equal size, different content", {{5, 'A', 1}, {5, 'B', 2}}, 2, {"无", "无"}, 0},
      {"three equal plus another size",
       {{1, 0, 9}, {5, 'A', 1}, {5, 'A', 2}, {5, 'A', 3}},
       3,
       {"重复文件第1组", "重复文件第1组", "重复文件第1组", "无"},
       1},
      {"an unreadable candidate ends without digest",
       {{5, 'A', 1}, {5, 0, 2}, {5, 'A', 3}},
       3,
       {"重复文件第1组", "重复文件第1组", "无"},
       1},
      {"a lone readable candidate", {{5, 'A', 1}, {5, 0, 2}}, 2, {"无", "无"}, 0},
      {"no candidates", {{1, 0, 1}, {2, 0, 2}}, 0, {"无", "无"}, 0},
  };
  for (const auto& c : cases) {
    auto list = ListOf(c.rows);
    const auto candidates = MarkCandidates(list);
    EXPECT_EQ(candidates.size(), c.candidates) << c.what;
    const auto result = GroupDuplicates(list, candidates, DigestsOf(candidates, c.rows));
    EXPECT_EQ(Marks(list), c.marks) << c.what;
    EXPECT_EQ(result.groups, c.groups) << c.what;
    EXPECT_EQ(result.files, c.rows.size()) << c.what;
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
      EXPECT_EQ(list.rows[r].number, r + 1);
      if (list.rows[r].InGroup()) {
        EXPECT_TRUE(list.rows[r].hasDigest) << c.what;
      }
    }
  }
}

TEST(Grouping, EqualDigestsKeepTheReverseOfTheirOrder) {
  // Descending is the exact reverse of a stable ascending sort, ties and digest-less rows alike.
  auto list = ListOf({{5, 'A', 1}, {5, 'A', 2}, {5, 0, 3}, {7, 0, 4}, {9, 0, 5}});
  const auto candidates = MarkCandidates(list);
  GroupDuplicates(list, candidates, DigestsOf(candidates, {{5, 'A', 1}, {5, 'A', 2}, {5, 0, 3}}));
  std::vector<std::string> paths;
  for (const auto& row : list.rows) paths.emplace_back(row.Path());
  EXPECT_EQ(paths, (std::vector<std::string>{"/f2", "/f1", "/f5", "/f4", "/f3"}));
}

TEST(Grouping, TwoNamesOfOneFileAreOneCandidate) {
  // Rows 1 and 2 are one physical file (a hard or symbolic link); row 3 is a real copy.
  auto list = ListOf({{5, 0, 1}, {5, 0, 1}, {5, 0, 3}});
  EXPECT_EQ(MarkCandidates(list).size(), 2u);
  EXPECT_EQ(Marks(list), (std::vector<std::string>{"加入识别", "无", "加入识别"}));
  auto alone = ListOf({{5, 0, 1}, {5, 0, 1}});
  EXPECT_TRUE(MarkCandidates(alone).empty());
  EXPECT_EQ(Marks(alone), (std::vector<std::string>{"无", "无"}));
}

TEST(Grouping, EdgeLists) {
  ResultList empty;
  EXPECT_TRUE(MarkCandidates(empty).empty());
  EXPECT_EQ(GroupDuplicates(empty, {}, {}).groups, 0u);
  auto one = ListOf({{5, 0, 1}});
  EXPECT_TRUE(MarkCandidates(one).empty());
  EXPECT_EQ(Marks(one), std::vector<std::string>{""});  // a one-row list keeps its empty mark
}

TEST(Grouping, ReadingOrderBigFilesFirstThenByInode) {
  auto list = ListOf({{10, 0, 30}, {10, 0, 10}, {40 << 20, 0, 20}, {64 << 20, 0, 5}});
  std::vector<Candidate> candidates;
  for (std::size_t r = 0; r < list.rows.size(); ++r) candidates.push_back({r, list.rows[r].id});
  EXPECT_EQ(ReadingOrder(list, candidates), (std::vector<std::size_t>{3, 2, 1, 0}));
}

}  // namespace
}  // namespace corvale::duplicates
