#include "tests/test_support.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace corvale::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "corvale-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Give back permissions the tests took away, so the whole tree can go.
  for (auto it = std::filesystem::recursive_directory_iterator(
           path_, std::filesystem::directory_options::skip_permission_denied, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      chmod(it->path().c_str(), 0700);
    }
  }
  chmod(path_.c_str(), 0700);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

void MakeDirs(const std::string& path) { std::filesystem::create_directories(path); }

void WriteFile(const std::string& path, std::string_view contents) {
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), std::streamsize(contents.size()));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string MakeDeepFile(const std::string& root, int levels, std::string_view folderName,
                         std::string_view fileName) {
  MakeDirs(root);
  const std::string folder(folderName), file(fileName);
  std::string path = root;
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < levels && fd >= 0; ++level) {
    mkdirat(fd, folder.c_str(), 0755);
    const int next = openat(fd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
    path += "/" + folder;
  }
  close(openat(fd, file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
  close(fd);
  return path + "/" + file;
}

void SetModifiedTime(const std::string& path, long long secondsSinceEpoch) {
  const timespec times[2] = {{time_t(secondsSinceEpoch), 0}, {time_t(secondsSinceEpoch), 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

ScopedCwd::ScopedCwd(const std::string& dir) : old_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir);
  if (const char* home = std::getenv("XDG_CONFIG_HOME")) {
    oldConfigHome_ = home;
    hadConfigHome_ = true;
  }
  setenv("XDG_CONFIG_HOME", (dir + "/.config").c_str(), 1);
}
ScopedCwd::~ScopedCwd() {
  std::filesystem::current_path(old_);
  if (hadConfigHome_) {
    setenv("XDG_CONFIG_HOME", oldConfigHome_.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

ScopedFileLimit::ScopedFileLimit(unsigned long limit) {
  rlimit current{};
  getrlimit(RLIMIT_NOFILE, &current);
  oldLimit_ = current.rlim_cur;
  current.rlim_cur = limit;
  setrlimit(RLIMIT_NOFILE, &current);
}

ScopedFileLimit::~ScopedFileLimit() {
  rlimit current{};
  getrlimit(RLIMIT_NOFILE, &current);
  current.rlim_cur = oldLimit_;
  setrlimit(RLIMIT_NOFILE, &current);
}

ScopedTz::ScopedTz(const char* tz) {
  if (const char* old = std::getenv("TZ")) {
    old_ = old;
    had_ = true;
  }
  setenv("TZ", tz, 1);
  tzset();
}
ScopedTz::~ScopedTz() {
  if (had_) {
    setenv("TZ", old_.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace corvale::test
