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

bool FileFilter::Accepts(std::string_view name, const std::string& path, const FilterHooks& hooks) {
  const std::string_view suffix = TextAfterLastDot(FileExtension(name));
  bool suffixMatched = false;
  for (const std::string& entry : Suffixes()) {
    if (hooks.beforeSuffixComparison) hooks.beforeSuffixComparison();
    if (entry == suffix) {
      suffixMatched = true;
      break;
    }
  }
  if (!suffixMatched) return false;

  const auto& s = settings_;
  const auto sizePasses = [&] {
    const std::int64_t size = hooks.fileSize ? hooks.fileSize(path) : FileSize(path);
    return PassesSizeRule(s.sizeCompareText, size, SizeLimit(s));
  };
  switch (CaseOf(s)) {
    case FilterCase::Unfiltered:
      return true;
    case FilterCase::SizeOnly:
      return sizePasses();
    case FilterCase::NameOnly:
      if (s.nameFilterText != settings::kKeywordsInclude &&
          s.nameFilterText != settings::kKeywordsSkip) {
        return false;
      }
      return PassesKeywords(name, SplitAtComma(s.keywordText),
                            s.nameFilterText == settings::kKeywordsInclude);
    case FilterCase::SizeAndName:
      return sizePasses() && PassesKeywords(name, SplitAtComma(s.keywordText),
                                            s.nameFilterText == settings::kKeywordsInclude);
    case FilterCase::None:
      return false;
  }
  return false;
}

}  // namespace corvale::search
