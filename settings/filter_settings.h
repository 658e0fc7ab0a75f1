// The filter the next search applies, the texts of the settings window's controls, and the moves
// between those controls, the record and dmconfig.ini.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvale::settings {

// Placeholders and switch texts the filter compares literally.
inline constexpr std::string_view kSuffixPlaceholder = "如需添加类型用,(半角逗号)隔开。";
inline constexpr std::string_view kFilterOff = "不筛选";
inline constexpr std::string_view kFilterOn = "筛选";
inline constexpr std::string_view kKeywordsInclude = "包含以下关键词";
inline constexpr std::string_view kKeywordsSkip = "跳过以下关键词";

// One process-wide record, owned by the application and handed to who reads it.
struct FilterSettings {
  std::string suffixText;
  std::string sizeFilterText;
  std::string sizeCompareText;
  std::int32_t sizeValue = 0;
  std::string sizeUnitText;
  std::string nameFilterText;
  std::string keywordText;
  bool showDuplicates = false;
  std::int32_t nameFilterChoice = 0;  // kept for the settings file only
  bool sizeFilterOn = false;          // kept for the settings file only
};

// The texts of the settings window's controls, so the record moves work without the window.
struct SettingsControls {
  std::string fileType;         // 文件类型
  std::string suffix;           // 文件后缀
  std::string sizeSwitch;       // 是否筛选大小
  std::string sizeCompare;      // 限制大小类型
  std::string sizeValue;        // 大小数值
  std::string sizeUnit;         // 单位
  std::string nameSwitch;       // 是否限制名称
  std::string keywords;         // 限制名称
  bool showDuplicates = false;  // 显示相同
};

// The leading decimal number of text (0 when none), truncated toward zero to 64 bits, of which
// the low 32 bits are kept as a signed number.
std::int32_t TextToNumber(std::string_view text);
std::string FlagToText(bool flag);
bool TextToFlag(std::string_view text);

// Where the settings live, worked out afresh on every call: dmconfig.ini in the current directory
// when one is there (a portable copy, a program started from its folder), else
// $XDG_CONFIG_HOME/corvale/dmconfig.ini (~/.config/corvale/ by default), so a program started
// from the desktop's menu, in the home folder, does not litter it.
std::string SettingsFilePath();
std::string ReadSetting(std::string_view section, std::string_view key);
// Creates the settings folder on the first write.
void WriteSetting(std::string_view section, std::string_view key, std::string_view value);

void LoadSettingsFile(SettingsControls& controls, FilterSettings& settings);
void SaveSettingsFile(const SettingsControls& controls, FilterSettings& settings);
void CaptureSettings(const SettingsControls& controls, FilterSettings& settings,
                     bool withDuplicates);

}  // namespace corvale::settings
