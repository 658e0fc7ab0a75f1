#include "search/file_filter.h"

#include <algorithm>

#include "search/file_facts.h"

namespace corvale::search {
namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return lower;
}

enum class FilterCase { None, SizeOnly, NameOnly, SizeAndName, Unfiltered };

FilterCase CaseOf(const settings::FilterSettings& s) {
  const bool sizeOn = s.sizeFilterText == settings::kFilterOn;
  const bool sizeOff = s.sizeFilterText == settings::kFilterOff;
  const bool nameOff = s.nameFilterText == settings::kFilterOff;
  if (sizeOn && nameOff) return FilterCase::SizeOnly;
  if (sizeOff && !nameOff) return FilterCase::NameOnly;
  if (sizeOn && !nameOff) return FilterCase::SizeAndName;
  if (sizeOff && nameOff) return FilterCase::Unfiltered;
  return FilterCase::None;
}

}  // namespace

std::int32_t FindText(std::string_view text, std::string_view keyword) {
  if (text.empty() || keyword.empty()) return -1;
  const auto at = text.find(keyword);
  return at == std::string_view::npos ? -1 : std::int32_t(at + 1);
}

std::string_view TextAfterLastDot(std::string_view text) {
  const auto dot = text.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
}

std::vector<std::string> SplitAtComma(std::string_view text) {
  // UTF-8 never puts a "," byte inside a multibyte character, so a byte scan never cuts one.
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ',') {
      parts.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < text.size()) parts.emplace_back(text.substr(start));
  return parts;
}

std::int64_t SizeLimit(const settings::FilterSettings& settings) {
  const std::string unit = LowerAscii(settings.sizeUnitText);
  std::int64_t multiplier = 0;
  if (unit == "b") multiplier = 1;
  if (unit == "kb") multiplier = 1024;
  if (unit == "mb") multiplier = 1048576;
  if (unit == "gb") multiplier = 1073741824;
  return std::int64_t(settings.sizeValue) * multiplier;
}

bool PassesSizeRule(std::string_view compareText, std::int64_t size, std::int64_t limit) {
  if (compareText == "大于") return size <= limit;
  if (compareText == "等于") return size != limit;
  if (compareText == "小于") return size >= limit;
  return false;
}

bool PassesKeywords(std::string_view name, const std::vector<std::string>& keywords,
                    bool includeMode) {
  if (keywords.empty()) return false;
  const bool anyFound = std::any_of(keywords.begin(), keywords.end(),
                                    [&](const std::string& k) { return FindText(name, k) != -1; });
  return includeMode ? anyFound : !anyFound;
}

const std::vector<std::string>& FileFilter::Suffixes() {
  if (!splitDone_ || splitFrom_ != settings_.suffixText) {
    splitFrom_ = settings_.suffixText;
    suffixes_ = SplitAtComma(splitFrom_);
    splitDone_ = true;
  }
  return suffixes_;
}

bool FileFilter::MatchesSuffix(std::string_view name) {
  const std::string_view suffix = TextAfterLastDot(FileExtension(name));
  const auto& suffixes = Suffixes();
  return std::find(suffixes.begin(), suffixes.end(), suffix) != suffixes.end();
}

bool FileFilter::PassesSizeAndName(std::string_view name, std::int64_t size) const {
  const auto& s = settings_;
  const bool include = s.nameFilterText == settings::kKeywordsInclude;
  switch (CaseOf(s)) {
    case FilterCase::Unfiltered:
      return true;
    case FilterCase::SizeOnly:
      return PassesSizeRule(s.sizeCompareText, size, SizeLimit(s));
    case FilterCase::NameOnly:
      if (!include && s.nameFilterText != settings::kKeywordsSkip) return false;
      return PassesKeywords(name, SplitAtComma(s.keywordText), include);
    case FilterCase::SizeAndName:
      // Here every mode but "包含以下关键词" tests as "跳过以下关键词".
      return PassesSizeRule(s.sizeCompareText, size, SizeLimit(s)) &&
             PassesKeywords(name, SplitAtComma(s.keywordText), include);
    case FilterCase::None:
      return false;
  }
  return false;
}

}  // namespace corvale::search
