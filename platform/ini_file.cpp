#include "platform/ini_file.h"

#include "platform/file_system.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace corvale::platform {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::vector<std::string> ReadLines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

std::optional<Entry> EntryOf(std::string_view line) {
  const auto trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Entry{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

struct Location {
  std::ptrdiff_t sectionLine = -1;  // the "[section]" line
  std::ptrdiff_t lastLine = -1;     // last non-blank line of the section
  std::ptrdiff_t keyLine = -1;      // the entry line of the key
};

Location Locate(const std::vector<std::string>& lines, std::string_view section,
                std::string_view key) {
  Location at;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionOf(lines[i])) {
      if (inside) break;  // only the first section of that name counts
      if (NamesEqual(*name, section)) {
        inside = true;
        at.sectionLine = at.lastLine = std::ptrdiff_t(i);
      }
      continue;
    }
    if (!inside) continue;
    if (!TrimBlanks(lines[i]).empty()) at.lastLine = std::ptrdiff_t(i);
    if (auto entry = EntryOf(lines[i]); entry && at.keyLine < 0 && NamesEqual(entry->key, key)) {
      at.keyLine = std::ptrdiff_t(i);
    }
  }
  return at;
}

}  // namespace

std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key) {
  const auto lines = ReadLines(file);
  const auto at = Locate(lines, section, key);
  if (at.keyLine < 0) return {};
  std::string value(EntryOf(lines[std::size_t(at.keyLine)])->value);
  if (value.size() > kProfileValueLimit) value.resize(kProfileValueLimit);
  return value;
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  auto lines = ReadLines(file);
  const auto at = Locate(lines, section, key);
  std::string entry(TrimBlanks(key));
  entry.append("=").append(value);
  if (at.keyLine >= 0) {
    lines[std::size_t(at.keyLine)] = std::move(entry);
  } else if (at.sectionLine >= 0) {
    lines.insert(lines.begin() + at.lastLine + 1, std::move(entry));
  } else {
    std::string header("[");
    header.append(TrimBlanks(section)).append("]");
    lines.push_back(std::move(header));
    lines.push_back(std::move(entry));
  }
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return ReplaceFileContents(file, text);
}

}  // namespace corvale::platform
