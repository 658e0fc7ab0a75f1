#include "settings/filter_settings.h"

#include "platform/ini_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace corvale::settings {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of text that reads as a decimal number: blanks, sign, digits, fraction and
// exponent; hexadecimal, "inf" and "nan" are not numbers here.
std::string LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool digits = i > digitsStart;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    digits = digits || i > fractionStart;
  }
  if (!digits) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exponentStart = j;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > exponentStart) i = j;
  }
  return std::string(text.substr(start, i - start));
}

// The current directory with a trailing "/".
std::string CurrentDirectory() {
  std::string dir(4096, '\0');
  while (!getcwd(dir.data(), dir.size())) {
    if (errno != ERANGE) return {};
    dir.resize(dir.size() * 2);
  }
  dir.resize(std::char_traits<char>::length(dir.c_str()));
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : "/";
  }
  return std::string(home) + "/.config";
}

// Creates the folders of path that are missing, as the XDG rules ask: readable by the user only.
void MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  mkdir(path.c_str(), 0700);
}

}  // namespace

std::int32_t TextToNumber(std::string_view text) {
  const std::string number = LeadingNumber(text);
  if (number.empty()) return 0;
  const double value = std::trunc(std::strtod(number.c_str(), nullptr));
  std::int64_t whole = 0;
  if (std::isnan(value)) {
    whole = 0;
  } else if (value >= 9.2233720368547758e18) {
    whole = std::numeric_limits<std::int64_t>::max();
  } else if (value <= -9.2233720368547758e18) {
    whole = std::numeric_limits<std::int64_t>::min();
  } else {
    whole = static_cast<std::int64_t>(value);
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

std::string FlagToText(bool flag) { return flag ? "真" : "假"; }
bool TextToFlag(std::string_view text) { return text == "真"; }

std::string SettingsFilePath() {
  const std::string inCurrentDirectory = CurrentDirectory() + "dmconfig.ini";
  struct stat st {};
  if (lstat(inCurrentDirectory.c_str(), &st) == 0) return inCurrentDirectory;
  return ConfigHome() + "/corvale/dmconfig.ini";
}

std::string ReadSetting(std::string_view section, std::string_view key) {
  return platform::ReadProfileString(SettingsFilePath(), section, key);
}

void WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  const std::string path = SettingsFilePath();
  MakeFolders(path.substr(0, path.rfind('/')));
  // A failed write is not reported: the settings simply stay as they were on disk.
  platform::WriteProfileString(path, section, key, value);
}

void LoadSettingsFile(SettingsControls& controls, FilterSettings& settings) {
  controls.suffix = ReadSetting("文件后缀", "文件后缀");
  controls.keywords = ReadSetting("限制名称", "限制名称");
  controls.sizeValue = ReadSetting("限制大小", "限制大小");
  controls.fileType = ReadSetting("选择类型", "选择类型");
  controls.sizeCompare = ReadSetting("限制类型", "限制类型");
  controls.sizeUnit = ReadSetting("限制单位", "限制单位");
  controls.sizeSwitch = ReadSetting("是否", "筛大小");
  controls.nameSwitch = ReadSetting("是否", "筛名称");
  settings.nameFilterChoice = TextToNumber(ReadSetting("全局_单选名称项", "全局_单选名称项"));
  settings.sizeFilterOn = TextToFlag(ReadSetting("全局_筛大小 ", "全局_筛大小 "));
}

void SaveSettingsFile(const SettingsControls& controls, FilterSettings& settings) {
  WriteSetting("文件后缀", "文件后缀", controls.suffix);
  WriteSetting("选择类型", "选择类型", controls.fileType);
  WriteSetting("限制类型", "限制类型", controls.sizeCompare);
  WriteSetting("限制大小", "限制大小", controls.sizeValue);
  WriteSetting("限制单位", "限制单位", controls.sizeUnit);
  WriteSetting("限制名称", "限制名称", controls.keywords);
  WriteSetting("是否", "筛大小", controls.sizeSwitch);
  WriteSetting("是否", "筛名称", controls.nameSwitch);
  if (settings.nameFilterText == kKeywordsInclude) settings.nameFilterChoice = 1;
  if (settings.nameFilterText == kKeywordsSkip) settings.nameFilterChoice = 2;
  settings.sizeFilterOn = settings.sizeFilterText == kFilterOn;
  WriteSetting("全局_单选名称项 ", "全局_单选名称项 ", std::to_string(settings.nameFilterChoice));
  WriteSetting("全局_筛大小 ", "全局_筛大小 ", FlagToText(settings.sizeFilterOn));
}

void CaptureSettings(const SettingsControls& controls, FilterSettings& settings,
                     bool withDuplicates) {
  settings.suffixText = controls.suffix;
  settings.sizeFilterText = controls.sizeSwitch;
  settings.sizeCompareText = controls.sizeCompare;
  settings.sizeValue = TextToNumber(controls.sizeValue);
  settings.sizeUnitText = controls.sizeUnit;
  settings.nameFilterText = controls.nameSwitch;
  settings.keywordText = controls.keywords;
  if (withDuplicates) settings.showDuplicates = controls.showDuplicates;
}

}  // namespace corvale::settings
