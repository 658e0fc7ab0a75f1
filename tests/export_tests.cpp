#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>

#include "export/list_export.h"
#include "export/xls_writer.h"
#include "platform/file_system.h"
#include "tests/test_support.h"

namespace corvale::exporter {
namespace {

// The workbook as an independent reader (xlrd) sees it.
QJsonArray ReadBack(const std::string& path) {
  const std::string command = "/usr/bin/python3 '" READ_XLS_SCRIPT "' '" + path + "'";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[65536];
  for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, n);
  }
  const int status = pipe ? pclose(pipe) : -1;
  EXPECT_EQ(status, 0) << "the reader (python3-xlrd) failed on " << path;
  return QJsonDocument::fromJson(QByteArray::fromStdString(output)).array();
}

QString Qs(const std::string& text) { return QString::fromStdString(text); }

QJsonArray Header() {
  QJsonArray header{QJsonValue()};
  for (int c = 1; c < 9; ++c)
    header.append(QString::fromUtf8(resultlist::kColumnTitles[std::size_t(c)]));
  return header;
}

TEST(Export, EmptyListIsTheHeaderOnly) {
  test::TempDir dir;
  ASSERT_TRUE(WriteListToWorkbook(dir / "empty.xls", {}));
  const auto sheets = ReadBack(dir / "empty.xls");
  ASSERT_EQ(sheets.size(), 1);
  EXPECT_EQ(sheets[0]["name"].toString(), "Sheet1");
  EXPECT_EQ(sheets[0]["rows"].toArray(), QJsonArray{Header()});
  EXPECT_EQ(sheets[0]["formats"].toArray(), QJsonArray{"@"});
}

TEST(Export, TextsArriveExactlyAsTheListShowsThem) {
  test::TempDir dir;
  test::ScopedTz tz("Asia/Shanghai");
  resultlist::ResultList list;
  auto& first = test::AddRow(list, "/视频/预告样片.mp4");
  first.byteSize = 1332;
  first.createdSeconds = 1700000000;
  first.modifiedNs = 1700028800'000000000;
  first.mark = 1;
  first.digest = {0x00, 0x12, 0x34, 0x56, 0x78, 0x90};  // leading zeros must stay
  first.hasDigest = true;
  // A name that reads as a number, in a path of 4,000 characters.
  test::AddRow(list, "/数据/" + std::string(3991, 'p') + "/0123").mark =
      resultlist::kNoDuplicateMark;
  auto& third = test::AddRow(list, "/x/emoji 😀.txt");
  third.byteSize = 10 << 20;
  third.modifiedNs = 978278400'000000000;
  ASSERT_TRUE(WriteListToWorkbook(dir / "three.xls", list));
  const auto sheets = ReadBack(dir / "three.xls");
  ASSERT_EQ(sheets.size(), 1);
  const auto rows = sheets[0]["rows"].toArray();
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows[1].toArray()[8].toString(), "00123456789000000000000000000000");
  EXPECT_EQ(rows[1].toArray()[6].toString(), "2023-11-15 14:13:20");
  EXPECT_EQ(rows[2].toArray()[2].toString(), "0123");
  EXPECT_EQ(rows[0].toArray(), Header());
  for (int r = 1; r <= 3; ++r) {
    const auto row = rows[r].toArray();
    ASSERT_EQ(row.size(), 9);
    for (int c = 1; c < 9; ++c) {
      EXPECT_EQ(row[c].toString(), Qs(resultlist::CellText(list.rows[std::size_t(r - 1)], c)))
          << r << "," << c;
    }
    EXPECT_TRUE(row[0].isNull() || row[0].toString().isEmpty());
  }
  EXPECT_EQ(rows[2].toArray()[3].toString().size(), 4000);
  EXPECT_EQ(sheets[0]["formats"].toArray(), QJsonArray{"@"});
}

TEST(Export, MoreThanOneSheetOfRowsContinuesWithItsOwnHeader) {
  test::TempDir dir;
  resultlist::ResultList list;
  for (int i = 0; i < 70000; ++i) {
    test::AddRow(list,
                 "/music/album/track-" + std::to_string(i) + "-" + std::string(40, 'x') + ".mp3");
  }
  ASSERT_TRUE(WriteListToWorkbook(dir / "big.xls", list));
  EXPECT_GT(platform::StatPath(dir / "big.xls")->size, 7 << 20);  // the DIFAT is in use
  const auto sheets = ReadBack(dir / "big.xls");
  ASSERT_EQ(sheets.size(), 2);
  EXPECT_EQ(sheets[1]["name"].toString(), "Sheet2");
  const auto first = sheets[0]["rows"].toArray();
  const auto second = sheets[1]["rows"].toArray();
  ASSERT_EQ(first.size(), 65536);
  ASSERT_EQ(second.size(), 70000 - 65535 + 1);
  EXPECT_EQ(first[0].toArray(), Header());
  EXPECT_EQ(second[0].toArray(), Header());
  EXPECT_EQ(first[65535].toArray()[1].toString(), "65535");
  EXPECT_EQ(second[1].toArray()[1].toString(), "65536");
  EXPECT_EQ(second.last().toArray()[3].toString(), Qs(std::string(list.rows.back().Path())));
}

TEST(Export, AFailedWriteLeavesNoFile) {
  test::TempDir dir;
  EXPECT_FALSE(WriteListToWorkbook(dir / "missing-folder/out.xls", {}));
  test::MakeDirs(dir / "taken.xls/inside");  // a folder where the file should go
  EXPECT_FALSE(WriteListToWorkbook(dir / "taken.xls", {}));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(Export, FileNameRule) {
  const struct {
    const char* typed;
    const char* expected;
  } cases[] = {{"report", "report.xls"},
               {"/out/report.xls", "/out/report.xls"},
               {"/out/REPORT.XLS", "/out/REPORT.XLS"},
               {"report.xlsx", "report.xlsx.xls"},
               {"x", "x.xls"}};
  for (const auto& c : cases) EXPECT_EQ(ExportFileName(c.typed), c.expected);
}

TEST(Utf16, InvalidBytesAndLimits) {
  EXPECT_EQ(ToUtf16("a\xff"
                    "b"),
            u"a\uFFFDb");
  EXPECT_EQ(ToUtf16("\xe4\xb8"), u"\uFFFD\uFFFD");  // cut multibyte sequence
  EXPECT_EQ(ToUtf16("😀"), u"😀");
  EXPECT_EQ(ToUtf16("a😀", 2), u"a");  // a pair is never split by the limit
  EXPECT_EQ(ToUtf16(std::string(40000, 'x')).size(), 32767u);
}

}  // namespace
}  // namespace corvale::exporter
