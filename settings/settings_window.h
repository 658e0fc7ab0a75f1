// SettingsWindow, "查找文件设置": where the user sets the filter. Opening it loads dmconfig.ini
// into its controls and captures them into FilterSettings; "应用并关闭" checks, captures, saves
// and closes. Each opening is a new window, destroyed on close.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "chrome/shadow.h"
#include "platform/ui_seams.h"
#include "settings/filter_settings.h"

namespace corvale::settings {

class SettingsWindow : public QDialog {
  Q_OBJECT

 public:
  SettingsWindow(FilterSettings& settings, platform::UiSeams& seams, chrome::ShadowImages& shadows,
                 QWidget* parent = nullptr);

  QWidget* 图片框1;
  QLabel* 透明标签6;
  QWidget* 图片框3;
  QWidget* 图片框2;
  QGroupBox* 分组框1;
  QLabel* 透明标签2;
  QLabel* 透明标签5;
  QComboBox* 文件类型;
  QLabel* 透明标签11;
  QLabel* 透明标签3;
  QLineEdit* 文件后缀;
  QGroupBox* 分组框2;
  QLabel* 透明标签9;
  QComboBox* 是否筛选大小;
  QLabel* 透明标签4;
  QComboBox* 限制大小类型;
  QLineEdit* 大小数值;
  QComboBox* 单位;
  QLabel* 透明标签8;
  QGroupBox* 分组框3;
  QLabel* 透明标签10;
  QComboBox* 是否限制名称;
  QLabel* 透明标签7;
  QLineEdit* 限制名称;
  QLabel* 透明标签12;
  QGroupBox* 分组框4;
  QCheckBox* 显示相同;
  QPushButton* 超级按钮2;
  QPushButton* 超级按钮1;

  SettingsControls ReadControls() const;
  void WriteControls(const SettingsControls& controls);

  // Handlers, public so that tests drive them as the user would.
  void ApplySettings();
  void ResetSettingsControls();
  void FileTypeChosen();
  void SizeFilterSwitched();
  void NameFilterSwitched();
  void DuplicatesClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BuildTitleStrip();
  void BuildTypeGroup();
  void BuildSizeGroup();
  void BuildNameGroup();
  void BuildDuplicatesGroup();
  void ConnectHandlers();
  void OnSettingsWindowCreated();

  FilterSettings& settings_;
  platform::UiSeams& seams_;
  chrome::ShadowImages& shadows_;
};

// The suffix list a file-type preset puts into 文件后缀, or nothing for another item.
const char* PresetSuffixes(std::string_view fileType);

}  // namespace corvale::settings
