// The file filter: decides from FilterSettings whether an entry found by the walk is listed, by
// suffix, by size and by name keywords.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/filter_settings.h"

namespace corvale::search {

// 1-based byte position of the first occurrence of keyword in text, or -1 (also when either is
// empty). Bytes compare exactly.
std::int32_t FindText(std::string_view text, std::string_view keyword);

// The part after the last "." of text; "" when there is no "." or it is the last character.
std::string_view TextAfterLastDot(std::string_view text);

// Splits at ",": empty parts between commas or before a leading comma are kept, a trailing comma
// adds nothing, an empty text gives nothing. Parts are not trimmed.
std::vector<std::string> SplitAtComma(std::string_view text);

// Limit in bytes of the size rule: sizeValue times the unit (B, KB, MB, GB, letter case ignored),
// 0 for any other unit. 64-bit: nothing wraps.
std::int64_t SizeLimit(const settings::FilterSettings& settings);

// Whether a file of this size passes the size rule (the rule names the files to skip).
bool PassesSizeRule(std::string_view compareText, std::int64_t size, std::int64_t limit);

// Whether a name passes the keyword test; includeMode lists a name that contains any keyword,
// otherwise a name that contains none. An empty keyword list passes nothing.
bool PassesKeywords(std::string_view name, const std::vector<std::string>& keywords,
                    bool includeMode);

// The filter of one search. The suffix list is split once per suffix text rather than once per
// entry, and the settings are read afresh for every entry, so a change applied in the settings
// window during a search counts from the next entry on.
class FileFilter {
 public:
  explicit FileFilter(const settings::FilterSettings& settings) : settings_(settings) {}

  // Whether the name's suffix is one of the wanted ones. Each file is decided once, however
  // many suffix entries equal its suffix.
  bool MatchesSuffix(std::string_view name);
  // The size and keyword rules for a file whose suffix matched.
  bool PassesSizeAndName(std::string_view name, std::int64_t size) const;
  bool Accepts(std::string_view name, std::int64_t size) {
    return MatchesSuffix(name) && PassesSizeAndName(name, size);
  }

 private:
  const std::vector<std::string>& Suffixes();

  const settings::FilterSettings& settings_;
  std::string splitFrom_;
  std::vector<std::string> suffixes_;
  bool splitDone_ = false;
};

}  // namespace corvale::search
