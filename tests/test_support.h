// Fixture helpers shared by the tests: a fresh temporary folder, files in it, the current
// directory and the time zone set for the length of one test.
#pragma once

#include <string>
#include <string_view>

namespace corvale::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // path_ + "/" + relative
  std::string operator/(std::string_view relative) const;

 private:
  std::string path_;
};

// Creates the parent folders as needed.
void WriteFile(const std::string& path, std::string_view contents);
void MakeDirs(const std::string& path);
std::string ReadWholeFile(const std::string& path);
void SetModifiedTime(const std::string& path, long long secondsSinceEpoch);

class ScopedCwd {
 public:
  explicit ScopedCwd(const std::string& dir);
  ~ScopedCwd();

 private:
  std::string old_;
};

class ScopedTz {
 public:
  explicit ScopedTz(const char* tz);
  ~ScopedTz();

 private:
  std::string old_;
  bool had_ = false;
};

}  // namespace corvale::test
