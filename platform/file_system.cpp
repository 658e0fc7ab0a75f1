#include "platform/file_system.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace corvale::platform {
namespace {

std::uint32_t AttributesOfStat(const struct stat& st, bool hidden) {
  const std::uint32_t hiddenBit = hidden ? kAttrHidden : 0;
  if (S_ISDIR(st.st_mode)) return kAttrDirectory | hiddenBit;
  if (S_ISREG(st.st_mode)) {
    return kAttrArchive | hiddenBit | ((st.st_mode & S_IWUSR) ? 0 : kAttrReadOnly);
  }
  return 0;  // devices, FIFOs and sockets: the file pass must never open them
}

}  // namespace

bool IsDotName(std::string_view name) {
  return !name.empty() && name.front() == '.' && name != "." && name != "..";
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  return fnmatch(std::string(pattern).c_str(), std::string(name).c_str(), 0) == 0;
}

int OpenFolder(const std::string& path) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  if (path.size() < PATH_MAX) return open(path.c_str(), kFlags);
  // The longest leading part the kernel takes whole, then one name at a time.
  const std::size_t cut = path.rfind('/', PATH_MAX - 2);
  if (cut == std::string::npos) return -1;
  int fd = open(path.substr(0, cut + 1).c_str(), kFlags);
  for (std::size_t at = cut + 1; fd >= 0 && at < path.size();) {
    std::size_t end = path.find('/', at);
    if (end == std::string::npos) end = path.size();
    if (end > at) {
      const int next = openat(fd, path.substr(at, end - at).c_str(), kFlags);
      close(fd);
      fd = next;
    }
    at = end + 1;
  }
  return fd;
}

FolderReader::FolderReader(const std::string& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !(dir_ = fdopendir(fd))) {
    close(fd);
    return;
  }
  device_ = st.st_dev;
  inode_ = st.st_ino;
}

FolderReader::~FolderReader() {
  if (dir_) closedir(dir_);
}

std::optional<FolderReader::Entry> FolderReader::Next() {
  if (!dir_) return std::nullopt;
  while (const dirent* entry = readdir(dir_)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;  // folders, never files of this folder
    const std::uint32_t hidden = IsDotName(name) ? kAttrHidden : 0;
    switch (entry->d_type) {
      case DT_REG:
        // The read-only bit never decides a mask test once the archive bit is set, so a regular
        // file needs no stat here.
        return Entry{entry->d_name, kAttrArchive | hidden};
      case DT_DIR:
        return Entry{entry->d_name, kAttrDirectory | hidden};
      case DT_LNK:
      case DT_UNKNOWN: {
        struct stat st {};
        if (fstatat(dirfd(dir_), entry->d_name, &st, 0) != 0) continue;  // dangling link
        if (const std::uint32_t attributes = AttributesOfStat(st, hidden != 0)) {
          return Entry{entry->d_name, attributes};
        }
        continue;
      }
      default:
        continue;  // devices, FIFOs and sockets: the walk must never open them
    }
  }
  return std::nullopt;
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::string_view PathFindExtension(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '/' || c == ' ') {
      dot = std::string_view::npos;
    } else if (c == '.') {
      dot = i;
    }
  }
  return dot == std::string_view::npos ? std::string_view{} : path.substr(dot);
}

std::optional<FileStat> StatPath(const std::string& path) { return StatAt(AT_FDCWD, path.c_str()); }

std::optional<FileStat> StatAt(int folderFd, const char* name) {
  struct statx sx {};
  if (*name == '\0' || statx(folderFd, name, 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0) {
    return std::nullopt;
  }
  const auto toTimespec = [](const statx_timestamp& t) {
    return timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
  };
  FileStat facts;
  facts.size = static_cast<std::int64_t>(sx.stx_size);
  facts.created = toTimespec((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime);
  facts.modified = toTimespec(sx.stx_mtime);
  facts.accessed = toTimespec(sx.stx_atime);
  facts.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  facts.inode = static_cast<ino_t>(sx.stx_ino);
  facts.isDirectory = S_ISDIR(sx.stx_mode);
  facts.isRegular = S_ISREG(sx.stx_mode);
  return facts;
}

std::string FormatByteSize(std::int64_t size) {
  if (size <= 0) return "0";
  if (size < 1024) return std::to_string(size) + " B";
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  int unit = 0;
  unsigned __int128 divisor = 1024;
  while (unit < 5 && static_cast<unsigned __int128>(size) >= divisor * 1024) {
    divisor *= 1024;
    ++unit;
  }
  // Hundredths of the unit, truncated; integer arithmetic keeps 1.30 from turning into 1.29.
  const auto hundredths =
      static_cast<std::uint64_t>(static_cast<unsigned __int128>(size) * 100 / divisor);
  char text[32];
  if (hundredths < 1000) {
    std::snprintf(text, sizeof text, "%llu.%02llu %s",
                  static_cast<unsigned long long>(hundredths / 100),
                  static_cast<unsigned long long>(hundredths % 100), kUnits[unit]);
  } else if (hundredths < 10000) {
    std::snprintf(text, sizeof text, "%llu.%llu %s",
                  static_cast<unsigned long long>(hundredths / 100),
                  static_cast<unsigned long long>(hundredths / 10 % 10), kUnits[unit]);
  } else {
    std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(hundredths / 100),
                  kUnits[unit]);
  }
  return text;
}

std::string LocalTimeText(const timespec& time) {
  struct tm local {};
  if (!localtime_r(&time.tv_sec, &local)) return {};
  // Written digit by digit: this runs twice for every listed file, and printf costs more than
  // the stat that fetched the time.
  char text[20] = "0000-00-00 00:00:00";
  const auto put = [&text](int at, int width, long value) {
    for (int i = at + width - 1; i >= at; --i, value /= 10) text[i] = char('0' + value % 10);
  };
  put(0, 4, local.tm_year + 1900L);
  put(5, 2, local.tm_mon + 1);
  put(8, 2, local.tm_mday);
  put(11, 2, local.tm_hour);
  put(14, 2, local.tm_min);
  put(17, 2, local.tm_sec);
  return std::string(text, 19);
}

std::optional<std::string> ReplacementTarget(const std::string& path) {
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return std::nullopt;
  std::string target(resolved);
  free(resolved);
  return target;
}

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

mode_t NewFileMode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const auto target = ReplacementTarget(path);
  if (!target) return false;
  // A short name: the file's own name may already use up the 255 bytes a name can have.
  std::string temp = FolderOfPath(*target) + "/.corvale-XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fchmod(fd, NewFileMode(*target)) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), target->c_str()) == 0) return true;
  unlink(temp.c_str());
  return false;
}

}  // namespace corvale::platform
