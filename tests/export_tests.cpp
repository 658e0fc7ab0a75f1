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

resultlist::ResultList ListOf(const std::vector<std::array<std::string, 9>>& rows) {
  resultlist::ResultList list;
  for (const auto& cells : rows) list.Append().cells = cells;
  return list;
}

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
  const std::string longPath = "/数据/" + std::string(3990, 'p') + "/长.mp3";
  const auto list = ListOf({
      {"", "1", "预告样片.mp4", "/视频/预告样片.mp4", "1.30 KB", "2023-11-14 22:13:20",
       "2023-11-15 06:13:20", "重复文件第1组", "00123456789012345678901234567890"},
      {"", "2", "0123", longPath, "0", "", "", "无", ""},
      {"", "3", "emoji 😀.txt", "/x/emoji 😀.txt", "10.0 MB", "2001-01-01 00:00:00",
       "2001-01-01 00:00:00", "", ""},
  });
  ASSERT_TRUE(WriteListToWorkbook(dir / "three.xls", list));
  const auto sheets = ReadBack(dir / "three.xls");
  ASSERT_EQ(sheets.size(), 1);
  const auto rows = sheets[0]["rows"].toArray();
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows[0].toArray(), Header());
  for (int r = 1; r <= 3; ++r) {
    const auto row = rows[r].toArray();
    ASSERT_EQ(row.size(), 9);
    for (int c = 1; c < 9; ++c) {
      EXPECT_EQ(row[c].toString(), Qs(list.rows[std::size_t(r - 1)].cells[std::size_t(c)]))
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
    auto& row = list.Append();
    row.cells[1] = std::to_string(i + 1);
    row.cells[3] = "/music/album/track-" + std::to_string(i) + "-" + std::string(40, 'x') + ".mp3";
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
  EXPECT_EQ(second.last().toArray()[3].toString(), Qs(list.rows.back().cells[3]));
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
