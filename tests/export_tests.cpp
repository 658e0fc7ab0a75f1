#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
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

// The strings of a one-row sheet as the reader returns them.
std::vector<QString> CellsReadBack(const std::string& path) {
  std::vector<QString> cells;
  const auto sheets = ReadBack(path);
  if (sheets.isEmpty()) return cells;
  for (const auto& cell : sheets[0]["rows"].toArray()[0].toArray())
    cells.push_back(cell.toString());
  return cells;
}

TEST(SharedStrings, ASplitNeverCutsACharacterOrAPair) {
  test::TempDir dir;
  const std::u16string emoji = u"😀";
  const struct {
    const char* what;
    std::size_t bytesLeft;  // left in the first record when the character below comes next
    bool compressed;        // the string under test holds Latin-1 only
    std::u16string next;
  } cases[] = {
      {"0 left, BMP", 0, false, u"中"},      {"1 left, BMP", 1, false, u"中"},
      {"2 left, BMP", 2, false, u"中"},      {"3 left, BMP", 3, false, u"中"},
      {"0 left, pair", 0, false, emoji},     {"1 left, pair", 1, false, emoji},
      {"2 left, pair", 2, false, emoji},     {"3 left, pair", 3, false, emoji},
      {"0 left, compressed", 0, true, u"é"}, {"1 left, compressed", 1, true, u"é"},
      {"2 left, compressed", 2, true, u"é"}, {"3 left, compressed", 3, true, u"é"},
  };
  for (const auto& c : cases) {
    // The first record holds 8,224 bytes: the string counts (8), a short compressed string of
    // `a` characters (3 + a), the tested string's header (3), then its filler characters.
    const std::size_t unit = c.compressed ? 1 : 2;
    const std::size_t a = c.compressed ? 1 : 2 - (8210 - c.bytesLeft) % 2;
    const std::size_t filler = (8210 - a - c.bytesLeft) / unit;
    const std::u16string tested =
        std::u16string(filler, c.compressed ? u'x' : u'汉') + c.next + u"x.txt";
    XlsWriter writer;
    writer.AddSheet("Sheet1");
    writer.SetCell(0, 0, std::string(a, 'a'));
    writer.SetCell(0, 1, QString::fromStdU16String(tested).toStdString());
    const std::string path = dir / (std::string(c.what) + ".xls");
    ASSERT_TRUE(writer.Save(path)) << c.what;
    const auto cells = CellsReadBack(path);
    ASSERT_EQ(cells.size(), 2u) << c.what;
    EXPECT_EQ(cells[1], QString::fromStdU16String(tested)) << c.what;
  }
  // A string that starts with a pair where its header would leave it two bytes.
  const std::u16string reproducer = std::u16string(4104, u'汉');
  XlsWriter writer;
  writer.AddSheet("Sheet1");
  writer.SetCell(0, 0, QString::fromStdU16String(reproducer).toStdString());
  writer.SetCell(0, 1, "😀x.txt");
  ASSERT_TRUE(writer.Save(dir / "reproducer.xls"));
  const auto cells = CellsReadBack(dir / "reproducer.xls");
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1], QString::fromUtf8("😀x.txt"));
}

TEST(Export, EveryLegalNameAndWriteThroughALink) {
  test::TempDir dir;
  for (std::size_t bytes : {249u, 252u, 255u}) {
    // Chinese characters are three bytes each: a name of exactly `bytes` bytes ending in .xls.
    std::string name;
    while (name.size() + 3 + 4 <= bytes) name += "长";
    name += std::string(bytes - 4 - name.size(), 'x') + ".xls";
    ASSERT_EQ(name.size(), bytes);
    EXPECT_TRUE(WriteListToWorkbook(dir / name, {})) << bytes;
    EXPECT_EQ(ReadBack(dir / name).size(), 1) << bytes;
  }
  test::WriteFile(dir / "shared/report.xls", "old");
  test::MakeDirs(dir / "here");
  ASSERT_EQ(symlink((dir / "shared/report.xls").c_str(), (dir / "here/report.xls").c_str()), 0);
  ASSERT_TRUE(WriteListToWorkbook(dir / "here/report.xls", {}));
  struct stat st {};
  ASSERT_EQ(lstat((dir / "here/report.xls").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));                          // the link stays
  EXPECT_EQ(ReadBack(dir / "shared/report.xls").size(), 1);  // its workbook is the new one
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir / "shared")) {
    ++entries;
  }
  EXPECT_EQ(entries, 1u);  // no temporary file left
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
