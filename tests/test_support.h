// Fixture helpers shared by the tests: a fresh temporary folder, files in it, the current
// directory and the time zone set for the length of one test.
#pragma once

#include <string>
#include <string_view>

#include "resultlist/result_list.h"
#include "settings/filter_settings.h"

namespace corvale::test {

// dmconfig.ini after one apply of the audio preset with "大于" 10 "MB".
inline constexpr const char* kSampleSettingsFile =
    "[文件后缀]\n文件后缀=mp3,wav,wma,aac,flac\n"
    "[选择类型]\n选择类型=音频文件\n"
    "[限制类型]\n限制类型=大于\n"
    "[限制大小]\n限制大小=10\n"
    "[限制单位]\n限制单位=MB\n"
    "[限制名称]\n限制名称=关键词用英文逗号隔开。如：预览视频,样片\n"
    "[是否]\n筛大小=筛选\n筛名称=不筛选\n"
    "[全局_单选名称项]\n全局_单选名称项=0\n"
    "[全局_筛大小]\n全局_筛大小=真\n";

// A filter that lists every file with one of the suffixes: no size or name rule.
inline void ListSuffixes(settings::FilterSettings& filter, const char* suffixes) {
  filter.suffixText = suffixes;
  filter.sizeFilterText = "不筛选";
  filter.nameFilterText = "不筛选";
}

// A row for path (the file need not exist), its name the part after the last "/".
inline resultlist::ResultRow& AddRow(resultlist::ResultList& list, std::string_view path) {
  const auto slash = path.rfind('/');
  const std::size_t cut = slash == std::string_view::npos ? 0 : slash + 1;
  return list.Append(path.substr(0, cut), path.substr(cut));
}

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
// `levels` nested folders named folderName below root (which must exist), with an empty file
// fileName in the deepest: made through *at() calls, so the path may be longer than PATH_MAX.
// Returns the file's path.
std::string MakeDeepFile(const std::string& root, int levels, std::string_view folderName,
                         std::string_view fileName);
void SetModifiedTime(const std::string& path, long long secondsSinceEpoch);

// A test's own place: the current directory is dir, and the settings home (XDG_CONFIG_HOME) is
// dir/.config, so no test reads or writes the user's settings or another test's.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::string& dir);
  ~ScopedCwd();

 private:
  std::string old_;
  std::string oldConfigHome_;
  bool hadConfigHome_ = false;
};

// Lowers the process's open-file limit for the length of a test.
class ScopedFileLimit {
 public:
  explicit ScopedFileLimit(unsigned long limit);
  ~ScopedFileLimit();

 private:
  unsigned long oldLimit_ = 0;
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
