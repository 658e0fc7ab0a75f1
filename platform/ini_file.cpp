#include "platform/ini_file.h"

#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
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

std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The whole file, or nothing when it cannot be read; an absent file reads as empty.
std::optional<std::string> ReadAll(const std::string& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
  std::string text;
  char buffer[65536];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(buffer, std::size_t(n));
  }
  close(fd);
  if (n < 0) return std::nullopt;
  return text;
}

// Windows reads a value in double quotes without them.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Quoted(std::string_view value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool needsQuotes = (!value.empty() && (blank(value.front()) || blank(value.back()))) ||
                           Unquoted(value).size() != value.size();
  return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

// Writers of the INI files of one folder take turns: each holds a lock on the folder from reading
// the file to renaming the new one into place, so no entry written by another copy is lost. Where
// the file system cannot lock a folder, writes go ahead unlocked, as before.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

// Writes text over target through one recognisable temporary file beside it: a write that was
// killed leaves at most that one file, which the next write takes over.
bool ReplaceThroughTemp(const std::string& target, std::string_view text) {
  const std::string temp =
      FolderOfPath(target) + "/." + target.substr(target.rfind('/') + 1) + ".tmp";
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = fchmod(fd, NewFileMode(target)) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
  unlink(temp.c_str());
  return false;
}

// Whether an existing file at target may be replaced: a regular file that is not read-only.
bool MayReplace(const std::string& target) {
  struct stat st {};
  if (stat(target.c_str(), &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR);
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
  return Entry{TrimBlanks(line.substr(0, eq)), Unquoted(TrimBlanks(line.substr(eq + 1)))};
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
  const auto lines = LinesOf(ReadAll(file).value_or(""));
  const auto at = Locate(lines, section, key);
  if (at.keyLine < 0) return {};
  std::string value(EntryOf(lines[std::size_t(at.keyLine)])->value);
  if (value.size() > kProfileValueLimit) value.resize(kProfileValueLimit);
  return value;
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  const auto target = ReplacementTarget(file);
  if (!target || !MayReplace(*target)) return false;
  const FolderLock lock(FolderOfPath(*target));
  const auto old = ReadAll(*target);
  if (!old) return false;
  auto lines = LinesOf(*old);
  const auto at = Locate(lines, section, key);
  std::string entry(TrimBlanks(key));
  entry.append("=").append(Quoted(value));
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
  return ReplaceThroughTemp(*target, text);
}

}  // namespace corvale::platform
