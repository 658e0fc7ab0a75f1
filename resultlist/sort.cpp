#include "resultlist/sort.h"

#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>

namespace corvale::resultlist {
namespace {

constexpr double kTolerance = 1e-7;

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

bool ReadInt(std::string_view& text, int digits, int& value) {
  value = 0;
  int read = 0;
  while (read < digits && !text.empty() && text.front() >= '0' && text.front() <= '9') {
    value = value * 10 + (text.front() - '0');
    text.remove_prefix(1);
    ++read;
  }
  return read > 0;
}

bool Expect(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + long(doe) - 719468;
}

bool ValidDate(int y, int m, int d) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

}  // namespace

bool HeaderSortKind(int column, CompareKind& kind) {
  switch (column) {
    case kNumberColumn:
    case kSizeColumn:
      kind = CompareKind::Number;
      return true;
    case kNameColumn:
    case kPathColumn:
    case kMarkColumn:
    case kDigestColumn:
      kind = CompareKind::Text;
      return true;
    case kCreatedColumn:
    case kModifiedColumn:
      kind = CompareKind::DateTime;
      return true;
    default:
      return false;
  }
}

double LeadingNumber(std::string_view text) {
  const std::string copy(text);
  return strtod_l(copy.c_str(), nullptr, CLocale());
}

double DateTimeKey(std::string_view text) {
  static const double kYear100 = double(DaysFromCivil(100, 1, 1));
  std::string_view rest = text;
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  if (!ReadInt(rest, 4, y) || !Expect(rest, '-') || !ReadInt(rest, 2, m) || !Expect(rest, '-') ||
      !ReadInt(rest, 2, d) || !ValidDate(y, m, d)) {
    return kYear100;
  }
  const bool dateOnly = rest.empty() || rest == " ";
  if (!dateOnly) {
    if (!Expect(rest, ' ') || !ReadInt(rest, 2, hh) || !Expect(rest, ':') ||
        !ReadInt(rest, 2, mm) || !Expect(rest, ':') || !ReadInt(rest, 2, ss) || !rest.empty() ||
        hh > 23 || mm > 59 || ss > 59) {
      return kYear100;
    }
  }
  return double(DaysFromCivil(y, unsigned(m), unsigned(d))) + (hh * 3600 + mm * 60 + ss) / 86400.0;
}

void SortResultList(ResultList& list, int column, CompareKind kind, bool ascending) {
  auto& rows = list.rows;
  const std::size_t n = rows.size();
  if (n < 2 || column < 0 || column >= kColumnCount) return;
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  const auto cell = [&](std::size_t r) -> const std::string& {
    return rows[r].cells[std::size_t(column)];
  };

  if (kind == CompareKind::Text) {
    // std::string compares as unsigned bytes.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return cell(a) < cell(b); });
  } else {
    std::vector<double> keys(n);
    for (std::size_t r = 0; r < n; ++r) {
      if (kind == CompareKind::DateTime) {
        keys[r] = DateTimeKey(cell(r));
      } else if (column == kSizeColumn && rows[r].byteSize >= 0) {
        keys[r] = double(rows[r].byteSize);
      } else {
        keys[r] = LeadingNumber(cell(r));
      }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[b] - keys[a] > kTolerance; });
  }
  if (!ascending) std::reverse(order.begin(), order.end());

  std::vector<ResultRow> sorted;
  sorted.reserve(n);
  for (std::size_t r : order) sorted.push_back(std::move(rows[r]));
  rows = std::move(sorted);
}

}  // namespace corvale::resultlist
