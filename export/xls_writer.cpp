#include "export/xls_writer.h"

#include "platform/file_system.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cstring>

namespace corvale::exporter {
namespace {

// --- little-endian byte building ------------------------------------------------------------

class Bytes {
 public:
  void U8(std::uint8_t v) { data.push_back(v); }
  void U16(std::uint16_t v) {
    U8(std::uint8_t(v));
    U8(std::uint8_t(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(std::uint16_t(v));
    U16(std::uint16_t(v >> 16));
  }
  void Utf16(const std::u16string& text) {
    for (char16_t c : text) U16(std::uint16_t(c));
  }
  void Zeros(std::size_t n) { data.insert(data.end(), n, 0); }
  void PatchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  }
  std::size_t Size() const { return data.size(); }

  std::vector<std::uint8_t> data;
};

constexpr std::size_t kMaxRecordData = 8224;

bool IsHighSurrogate(char16_t c) { return (c & 0xFC00) == 0xD800; }

void Record(Bytes& out, std::uint16_t id, const Bytes& body) {
  out.U16(id);
  out.U16(std::uint16_t(body.Size()));
  out.data.insert(out.data.end(), body.data.begin(), body.data.end());
}

void ShortUnicode(Bytes& b, const std::u16string& text) {
  b.U8(std::uint8_t(text.size()));
  b.U8(0x01);
  b.Utf16(text);
}

void Bof(Bytes& out, std::uint16_t type) {
  Bytes b;
  b.U16(0x0600);
  b.U16(type);
  b.U16(0x0DBB);
  b.U16(0x07CC);
  b.U32(0);
  b.U32(6);
  Record(out, 0x0809, b);
}

void Eof(Bytes& out) { Record(out, 0x000A, Bytes{}); }

void Xf(Bytes& out, std::uint16_t format, std::uint16_t type, std::uint8_t usedAttributes) {
  Bytes b;
  b.U16(0);       // font
  b.U16(format);  // number format
  b.U16(type);    // style XF 0xFFF5, cell XF 0x0001
  b.U8(0x20);     // general alignment, bottom
  b.U8(0);
  b.U8(0);
  b.U8(usedAttributes);
  b.Zeros(8);     // no borders
  b.U16(0x20C0);  // default pattern colours
  Record(out, 0x00E0, b);
}

// The shared string table: SST and its CONTINUE records, then EXTSST.
void SharedStrings(Bytes& out, const std::vector<std::u16string>& strings,
                   std::uint32_t references) {
  const std::size_t perBucket = std::max<std::size_t>(strings.size() / 128 + 1, 8);
  struct BucketStart {
    std::uint32_t streamOffset;
    std::uint16_t recordOffset;
  };
  std::vector<BucketStart> buckets;

  Bytes record;  // data of the record being filled
  std::uint16_t recordId = 0x00FC;
  std::size_t recordStart = out.Size();  // where the record's header will go
  const auto flush = [&] {
    Record(out, recordId, record);
    record.data.clear();
    recordId = 0x003C;
    recordStart = out.Size();
  };
  record.U32(references);
  record.U32(std::uint32_t(strings.size()));
  for (std::size_t i = 0; i < strings.size(); ++i) {
    const std::u16string& s = strings[i];
    // Latin-1 strings are stored compressed, one byte a character (digests, sizes, times).
    const bool compressed = std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
    const std::size_t unit = compressed ? 1 : 2;
    const std::uint8_t flags = compressed ? 0x00 : 0x01;
    // A string's 3-byte header never stands apart from its first character, a whole pair.
    const std::size_t first = s.empty() ? 0 : (IsHighSurrogate(s[0]) && s.size() > 1 ? 2 : 1);
    if (kMaxRecordData - record.Size() < 3 + first * unit) flush();
    if (i % perBucket == 0) {
      const std::size_t inRecord = 4 + record.Size();
      buckets.push_back({std::uint32_t(recordStart + inRecord), std::uint16_t(inRecord)});
    }
    record.U16(std::uint16_t(s.size()));
    record.U8(flags);
    for (std::size_t at = 0; at < s.size();) {
      std::size_t take = std::min((kMaxRecordData - record.Size()) / unit, s.size() - at);
      // Never split a surrogate pair between two records.
      if (take > 0 && at + take < s.size() && IsHighSurrogate(s[at + take - 1])) --take;
      for (std::size_t k = 0; k < take; ++k) {
        if (compressed) {
          record.U8(std::uint8_t(s[at + k]));
        } else {
          record.U16(std::uint16_t(s[at + k]));
        }
      }
      at += take;
      if (at < s.size()) {
        flush();
        record.U8(flags);  // the rest of a split string starts with its flags again
      }
    }
  }
  flush();

  Bytes ext;
  ext.U16(std::uint16_t(perBucket));
  for (const auto& bucket : buckets) {
    ext.U32(bucket.streamOffset);
    ext.U16(bucket.recordOffset);
    ext.U16(0);
  }
  Record(out, 0x00FF, ext);
}

// --- compound file ---------------------------------------------------------------------------

constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kSector = 512;

void DirectoryEntry(Bytes& out, const std::u16string& name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size) {
  out.Utf16(name);
  out.Zeros(64 - name.size() * 2);
  out.U16(name.empty() ? 0 : std::uint16_t((name.size() + 1) * 2));
  out.U8(type);
  out.U8(name.empty() ? 0 : 1);  // black
  out.U32(kNoStream);
  out.U32(kNoStream);
  out.U32(child);
  out.Zeros(16 + 4 + 8 + 8);  // class id, state bits, times
  out.U32(start);
  out.U32(size);
  out.U32(0);
}

std::vector<std::uint8_t> CompoundFile(std::vector<std::uint8_t> stream) {
  // A stream under 4,096 bytes would belong in the mini stream; padding keeps it a normal one.
  if (stream.size() < 4096) stream.resize(4096, 0);
  const std::uint32_t streamSize = std::uint32_t(stream.size());
  const std::size_t streamSectors = (stream.size() + kSector - 1) / kSector;
  std::size_t fatSectors = 1, difatSectors = 0;
  for (;;) {
    difatSectors = fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0;
    if (streamSectors + 1 + fatSectors + difatSectors <= fatSectors * 128) break;
    ++fatSectors;
  }
  const std::uint32_t dirSector = std::uint32_t(streamSectors);
  const std::uint32_t firstFat = dirSector + 1;
  const std::uint32_t firstDifat = firstFat + std::uint32_t(fatSectors);

  std::vector<std::uint32_t> fat(fatSectors * 128, kFreeSector);
  for (std::size_t i = 0; i < streamSectors; ++i) {
    fat[i] = i + 1 < streamSectors ? std::uint32_t(i + 1) : kEndOfChain;
  }
  fat[dirSector] = kEndOfChain;
  for (std::size_t i = 0; i < fatSectors; ++i) fat[firstFat + i] = kFatSector;
  for (std::size_t i = 0; i < difatSectors; ++i) fat[firstDifat + i] = kDifatSector;

  Bytes out;
  out.data.reserve(kSector * (1 + streamSectors + 1 + fatSectors + difatSectors));
  for (std::uint8_t b : {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1}) out.U8(b);
  out.Zeros(16);
  out.U16(0x003E);
  out.U16(3);
  out.U16(0xFFFE);
  out.U16(9);
  out.U16(6);
  out.Zeros(6);
  out.U32(0);
  out.U32(std::uint32_t(fatSectors));
  out.U32(dirSector);
  out.U32(0);
  out.U32(0x1000);
  out.U32(kEndOfChain);
  out.U32(0);
  out.U32(difatSectors ? firstDifat : kEndOfChain);
  out.U32(std::uint32_t(difatSectors));
  for (std::size_t i = 0; i < 109; ++i) {
    out.U32(i < fatSectors ? firstFat + std::uint32_t(i) : kFreeSector);
  }

  out.data.insert(out.data.end(), stream.begin(), stream.end());
  out.Zeros(streamSectors * kSector - stream.size());

  DirectoryEntry(out, u"Root Entry", 5, 1, kEndOfChain, 0);
  DirectoryEntry(out, u"Workbook", 2, kNoStream, 0, streamSize);
  DirectoryEntry(out, u"", 0, kNoStream, 0, 0);
  DirectoryEntry(out, u"", 0, kNoStream, 0, 0);

  for (std::uint32_t entry : fat) out.U32(entry);

  std::size_t nextFat = 109;
  for (std::size_t d = 0; d < difatSectors; ++d) {
    for (std::size_t k = 0; k < 127; ++k, ++nextFat) {
      out.U32(nextFat < fatSectors ? firstFat + std::uint32_t(nextFat) : kFreeSector);
    }
    out.U32(d + 1 < difatSectors ? firstDifat + std::uint32_t(d + 1) : kEndOfChain);
  }
  return std::move(out.data);
}

}  // namespace

std::u16string ToUtf16(std::string_view text, std::size_t limit) {
  std::u16string out;
  out.reserve(std::min(text.size(), limit));
  for (std::size_t i = 0; i < text.size();) {
    const platform::CodePoint c = platform::DecodeUtf8At(text, i);
    const char32_t cp = c.value;
    const std::size_t units = cp >= 0x10000 ? 2 : 1;
    if (out.size() + units > limit) break;
    if (units == 2) {
      out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += char16_t(cp);
    }
    i += c.length;
  }
  return out;
}

void XlsWriter::AddSheet(std::string_view name) {
  sheets_.push_back({ToUtf16(name, 31), {}, 0, 0});
}

void XlsWriter::SetCell(int row, int column, std::string_view text) {
  if (sheets_.empty() || row < 0 || row >= kMaxRowsPerSheet || column < 0 ||
      column >= kMaxColumns) {
    return;
  }
  std::u16string value = ToUtf16(text);
  auto [found, added] = stringIndex_.try_emplace(std::move(value), std::uint32_t(strings_.size()));
  if (added) strings_.push_back(found->first);
  Sheet& sheet = sheets_.back();
  sheet.cells.push_back({std::uint16_t(row), std::uint16_t(column), found->second});
  sheet.rows = std::max(sheet.rows, row + 1);
  sheet.columns = std::max(sheet.columns, column + 1);
}

std::vector<std::uint8_t> XlsWriter::Build() const {
  Bytes out;
  Bof(out, 0x0005);
  {
    Bytes b;
    b.U16(1200);  // text is UTF-16
    Record(out, 0x0042, b);
  }
  {
    Bytes b;
    for (std::uint16_t v : {0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 600}) b.U16(v);
    Record(out, 0x003D, b);
  }
  for (int i = 0; i < 5; ++i) {
    Bytes b;
    b.U16(220);
    b.U16(0);
    b.U16(0x7FFF);
    b.U16(400);
    b.U16(0);
    b.U8(0);
    b.U8(0);
    b.U8(134);
    b.U8(0);
    ShortUnicode(b, u"宋体");
    Record(out, 0x0031, b);
  }
  for (int i = 0; i < 15; ++i) Xf(out, 0, 0xFFF5, i == 0 ? 0x00 : 0xF4);
  Xf(out, 0, 0x0001, 0x00);
  Xf(out, 49, 0x0001, 0x04);  // XF 16: text cells, format "@"
  {
    Bytes b;
    for (std::uint8_t v : {0x00, 0x80, 0x00, 0xFF}) b.U8(v);
    Record(out, 0x0293, b);
  }
  std::vector<std::size_t> sheetOffsetAt;
  for (const Sheet& sheet : sheets_) {
    Bytes b;
    sheetOffsetAt.push_back(out.Size() + 4);
    b.U32(0);  // patched below
    b.U8(0);
    b.U8(0);
    ShortUnicode(b, sheet.name);
    Record(out, 0x0085, b);
  }
  std::uint32_t references = 0;
  for (const Sheet& sheet : sheets_) references += std::uint32_t(sheet.cells.size());
  SharedStrings(out, strings_, references);
  Eof(out);

  for (std::size_t s = 0; s < sheets_.size(); ++s) {
    const Sheet& sheet = sheets_[s];
    out.PatchU32(sheetOffsetAt[s], std::uint32_t(out.Size()));
    Bof(out, 0x0010);
    {
      Bytes b;
      b.U16(0x04C1);
      Record(out, 0x0081, b);
    }
    {
      Bytes b;
      b.U32(0);
      b.U32(std::uint32_t(sheet.rows));
      b.U16(0);
      b.U16(std::uint16_t(sheet.columns));
      b.U16(0);
      Record(out, 0x0200, b);
    }
    for (const Cell& cell : sheet.cells) {
      out.U16(0x00FD);
      out.U16(10);
      out.U16(cell.row);
      out.U16(cell.column);
      out.U16(16);
      out.U32(cell.string);
    }
    {
      Bytes b;
      b.U16(s == 0 ? 0x06B6 : 0x00B6);
      b.U16(0);
      b.U16(0);
      b.U16(64);
      b.Zeros(10);
      Record(out, 0x023E, b);
    }
    Eof(out);
  }
  return CompoundFile(std::move(out.data));
}

bool XlsWriter::Save(const std::string& path) const {
  const std::vector<std::uint8_t> bytes = Build();
  return platform::ReplaceFileContents(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace corvale::exporter
