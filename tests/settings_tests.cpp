#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "settings/filter_settings.h"
#include "tests/test_support.h"

namespace corvale::settings {
namespace {

TEST(SettingsConversions, TextToNumber) {
  struct Case {
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"10", 10},    {"1.9", 1},      {"-3", -3},        {"-3.7", -3},
      {"", 0},       {"填写整数", 0}, {"abc", 0},        {"12abc", 12},
      {" 7", 7},     {"0010", 10},    {"4294967297", 1}, {"2147483648", -2147483647 - 1},
      {"1e3", 1000}, {"0x10", 0},     {"inf", 0},        {".5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToNumber(c.text), c.expected) << c.text;
}

TEST(SettingsConversions, Flags) {
  EXPECT_EQ(FlagToText(true), "真");
  EXPECT_EQ(FlagToText(false), "假");
  EXPECT_TRUE(TextToFlag("真"));
  for (const char* text : {"假", "true", "1", "", " 真"}) EXPECT_FALSE(TextToFlag(text)) << text;
}

SettingsControls SampleControls() {
  SettingsControls c;
  c.fileType = "音频文件";
  c.suffix = "mp3,wav,wma,aac,flac";
  c.sizeSwitch = "筛选";
  c.sizeCompare = "大于";
  c.sizeValue = "10";
  c.sizeUnit = "MB";
  c.nameSwitch = "不筛选";
  c.keywords = "关键词用英文逗号隔开。如：预览视频,样片";
  c.showDuplicates = true;
  return c;
}

TEST(SettingsFile, APortableFileHereElseTheUsersConfigFolder) {
  test::TempDir dir;
  test::ScopedCwd cwd(dir.Path());
  EXPECT_EQ(SettingsFilePath(), dir / ".config/corvale/dmconfig.ini");
  WriteSetting("载入目录", "载入目录", "/a");  // the first write makes the folder
  EXPECT_EQ(test::ReadWholeFile(dir / ".config/corvale/dmconfig.ini"), "[载入目录]\n载入目录=/a\n");
  struct stat st {};
  ASSERT_EQ(stat((dir / ".config/corvale").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_FALSE(test::ReadWholeFile(dir / "dmconfig.ini").size());

  test::WriteFile(dir / "dmconfig.ini", "[载入目录]\n载入目录=/portable\n");
  EXPECT_EQ(SettingsFilePath(), dir / "dmconfig.ini");
  EXPECT_EQ(ReadSetting("载入目录", "载入目录"), "/portable");

  // Without XDG_CONFIG_HOME: ~/.config.
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  test::ScopedCwd elsewhere(dir / ".config");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", (dir / "home").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(), dir / "home/.config/corvale/dmconfig.ini");
  setenv("HOME", home.c_str(), 1);
}

TEST(SettingsFile, SaveWritesTheSampleFile) {
  test::TempDir dir;
  test::ScopedCwd cwd(dir.Path());
  test::WriteFile(dir / "dmconfig.ini", "");  // a portable copy
  FilterSettings settings;
  const auto controls = SampleControls();
  CaptureSettings(controls, settings, true);
  SaveSettingsFile(controls, settings);
  EXPECT_EQ(test::ReadWholeFile(dir / "dmconfig.ini"), test::kSampleSettingsFile);
  EXPECT_TRUE(settings.sizeFilterOn);
  EXPECT_EQ(settings.nameFilterChoice, 0);
}

TEST(SettingsFile, LoadRestoresWhatSaveWrote) {
  test::TempDir dir;
  test::ScopedCwd cwd(dir.Path());
  auto controls = SampleControls();
  controls.nameSwitch = "跳过以下关键词";
  controls.sizeValue = "010";
  FilterSettings saved;
  CaptureSettings(controls, saved, true);
  SaveSettingsFile(controls, saved);
  EXPECT_EQ(saved.nameFilterChoice, 2);

  SettingsControls loaded;
  FilterSettings settings;
  LoadSettingsFile(loaded, settings);
  EXPECT_EQ(loaded.fileType, controls.fileType);
  EXPECT_EQ(loaded.suffix, controls.suffix);
  EXPECT_EQ(loaded.sizeSwitch, controls.sizeSwitch);
  EXPECT_EQ(loaded.sizeCompare, controls.sizeCompare);
  EXPECT_EQ(loaded.sizeValue, "010");  // stored as typed
  EXPECT_EQ(loaded.sizeUnit, controls.sizeUnit);
  EXPECT_EQ(loaded.nameSwitch, controls.nameSwitch);
  EXPECT_EQ(loaded.keywords, controls.keywords);
  EXPECT_FALSE(loaded.showDuplicates);  // never stored
  EXPECT_EQ(settings.nameFilterChoice, 2);
  EXPECT_TRUE(settings.sizeFilterOn);

  CaptureSettings(loaded, settings, false);
  EXPECT_EQ(settings.sizeValue, 10);
  EXPECT_FALSE(settings.showDuplicates);
}

TEST(SettingsFile, MissingEntriesLoadEmpty) {
  test::TempDir dir;
  test::ScopedCwd cwd(dir.Path());
  test::WriteFile(dir / "dmconfig.ini",
                  "[文件后缀]\n文件后缀=mp3\n[全局_筛大小]\n 全局_筛大小 = 真 \n");
  SettingsControls loaded;
  loaded.sizeSwitch = "筛选";
  FilterSettings settings;
  LoadSettingsFile(loaded, settings);
  EXPECT_EQ(loaded.suffix, "mp3");
  EXPECT_EQ(loaded.sizeSwitch, "");  // a missing entry is set as the empty text
  EXPECT_TRUE(settings.sizeFilterOn);
}

TEST(SettingsFile, CaptureLeavesTheDuplicatesFlagUnlessAsked) {
  FilterSettings settings;
  settings.showDuplicates = true;
  SettingsControls controls;
  controls.sizeValue = "4294967297";
  CaptureSettings(controls, settings, false);
  EXPECT_TRUE(settings.showDuplicates);
  EXPECT_EQ(settings.sizeValue, 1);
  CaptureSettings(controls, settings, true);
  EXPECT_FALSE(settings.showDuplicates);
}

}  // namespace
}  // namespace corvale::settings
