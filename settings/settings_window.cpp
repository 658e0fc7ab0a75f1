#include "settings/settings_window.h"

#include "chrome/window_parts.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWindow>
#include <array>

namespace corvale::settings {
namespace {

QString Qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
std::string Std(const QString& text) { return text.toStdString(); }

struct Preset {
  const char* item;
  const char* suffixes;
};
constexpr std::array<Preset, 9> kPresets = {{
    {"音频文件", "mp3,wav,wma,aac,flac"},
    {"视频文件", "mp4,mov,avi,mkv,flv,wmv,asf,rmvb"},
    {"图片文件", "jpg,bmp,gif,png"},
    {"word文件", "doc,docx"},
    {"excel文件", "xls,xlsx"},
    {"压缩文件", "rar,zip,cab,iso,7z"},
    {"可执行程序（.exe）", "exe"},
    {"纯文本文件", "txt"},
    {"自定义文件类型", "自定义文件类型用,隔开。（删除此文字）"},
}};

constexpr const char* kTypePlaceholder = "请选择内容";
constexpr const char* kComparePlaceholder = "请选择";
constexpr const char* kValuePlaceholder = "填写整数";
constexpr const char* kUnitPlaceholder = "请选择单位";
constexpr const char* kKeywordPlaceholder = "关键词用英文逗号隔开。如：预览视频,样片";

QComboBox* Combo(QWidget* parent, const char* name, QRect place,
                 std::initializer_list<const char*> items) {
  auto* box = new QComboBox(parent);
  box->setObjectName(Qs(name));
  box->setGeometry(place);
  // Editable, so that it can show a text that is none of its items (the placeholders). Without a
  // completer a text is never completed or changed in letter case to match an item.
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  for (const char* item : items) box->addItem(Qs(item));
  return box;
}

// Shows text in a combo box. A text that is one of its items also makes that item current: an
// editable combo box that loses the focus while its text names an item other than the current
// one reports that item as chosen, which would apply a preset nobody picked.
void SetComboText(QComboBox* box, const QString& text) {
  const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (item >= 0) {
    box->setCurrentIndex(item);
  } else {
    box->setEditText(text);
  }
}

QLineEdit* Edit(QWidget* parent, const char* name, QRect place) {
  QLineEdit* edit = chrome::NamedEdit(parent, name, place);
  chrome::SelectAllOnDoubleClick(edit);
  return edit;
}

}  // namespace

const char* PresetSuffixes(std::string_view fileType) {
  for (const Preset& preset : kPresets) {
    if (fileType == preset.item) return preset.suffixes;
  }
  return nullptr;
}

SettingsWindow::SettingsWindow(FilterSettings& settings, platform::UiSeams& seams,
                               chrome::ShadowImages& shadows, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      settings_(settings),
      seams_(seams),
      shadows_(shadows) {
  setObjectName("SettingsWindow");
  setWindowTitle(Qs("查找文件设置"));
  setFixedSize(564, 517);
  setAttribute(Qt::WA_DeleteOnClose);
  chrome::PaintWindowBackground(this);

  BuildTitleStrip();
  BuildTypeGroup();
  BuildSizeGroup();
  BuildNameGroup();
  BuildDuplicatesGroup();
  ConnectHandlers();
  OnSettingsWindowCreated();
}

void SettingsWindow::BuildTitleStrip() {
  图片框1 = new chrome::PictureBox(this, chrome::pictures::TitleStrip);
  图片框1->setObjectName("图片框1");
  图片框1->setGeometry(0, 0, 568, 48);
  透明标签6 = chrome::NamedLabel(图片框1, "透明标签6", "文件筛选设置", {215, 4, 149, 40});
  透明标签6->setStyleSheet("color: white; font-size: 16px;");
  图片框3 = new chrome::PictureBox(图片框1, chrome::pictures::Minimise);
  图片框3->setObjectName("图片框3");
  图片框3->setGeometry(461, 8, 20, 14);
  图片框2 = new chrome::PictureBox(图片框1, chrome::pictures::Close);
  图片框2->setObjectName("图片框2");
  图片框2->setGeometry(539, 0, 24, 24);
}

void SettingsWindow::BuildTypeGroup() {
  分组框1 = chrome::NamedGroup(this, "分组框1", "1.类型筛选（必选）", {17, 60, 525, 100});
  透明标签2 = chrome::NamedLabel(分组框1, "透明标签2", "*", {123, -6, 24, 32});
  透明标签2->setStyleSheet("color: red;");
  透明标签5 = chrome::NamedLabel(分组框1, "透明标签5", "文件类型：", {29, 25, 71, 32});
  文件类型 = Combo(分组框1, "文件类型", {98, 30, 151, 23}, {});
  for (const Preset& preset : kPresets) 文件类型->addItem(Qs(preset.item));
  透明标签11 = chrome::NamedLabel(分组框1, "透明标签11", "注：后缀越少，搜索越快，最好一个后缀。",
                                  {247, 33, 240, 34});
  透明标签3 = chrome::NamedLabel(分组框1, "透明标签3", "文件后缀：", {29, 61, 61, 32});
  文件后缀 = Edit(分组框1, "文件后缀", {98, 64, 300, 24});
}

void SettingsWindow::BuildSizeGroup() {
  分组框2 = chrome::NamedGroup(this, "分组框2", "2.大小筛选（选填）：", {16, 165, 525, 100});
  透明标签9 = chrome::NamedLabel(分组框2, "透明标签9", "是否筛选：", {31, 22, 59, 32});
  是否筛选大小 = Combo(分组框2, "是否筛选大小", {100, 27, 120, 20}, {"不筛选", "筛选"});
  透明标签4 = chrome::NamedLabel(分组框2, "透明标签4", "跳过大小：", {31, 58, 59, 32});
  限制大小类型 = Combo(分组框2, "限制大小类型", {100, 63, 80, 26}, {"小于", "等于", "大于"});
  大小数值 = Edit(分组框2, "大小数值", {188, 63, 72, 24});
  单位 = Combo(分组框2, "单位", {267, 63, 95, 26}, {"B", "KB", "MB", "GB"});
  透明标签8 = chrome::NamedLabel(分组框2, "透明标签8", "的文件。", {366, 60, 49, 32});
}

void SettingsWindow::BuildNameGroup() {
  分组框3 = chrome::NamedGroup(this, "分组框3", "3.名称筛选（选填）：", {15, 270, 525, 100});
  透明标签10 = chrome::NamedLabel(分组框3, "透明标签10", "是否筛选：", {32, 25, 59, 32});
  是否限制名称 = Combo(分组框3, "是否限制名称", {99, 28, 120, 20},
                       {"不筛选", "包含以下关键词", "跳过以下关键词"});
  透明标签7 = chrome::NamedLabel(分组框3, "透明标签7", "关键字：", {32, 61, 49, 32});
  限制名称 = Edit(分组框3, "限制名称", {99, 63, 300, 24});
  透明标签12 = chrome::NamedLabel(分组框3, "透明标签12", "英文逗号隔开", {405, 63, 80, 24});
}

void SettingsWindow::BuildDuplicatesGroup() {
  分组框4 = chrome::NamedGroup(this, "分组框4", "4.重复文件筛选（选填）：", {14, 377, 525, 50});
  显示相同 = new QCheckBox(Qs("显示重复文件"), 分组框4);
  显示相同->setObjectName("显示相同");
  显示相同->setGeometry(34, 21, 99, 24);
  超级按钮2 = chrome::NamedButton(this, "超级按钮2", "应用并关闭", {141, 462, 130, 28});
  超级按钮1 = chrome::NamedButton(this, "超级按钮1", "初始化参数", {287, 462, 130, 28});
}

void SettingsWindow::ConnectHandlers() {
  connect(超级按钮2, &QPushButton::clicked, this, &SettingsWindow::ApplySettings);
  connect(超级按钮1, &QPushButton::clicked, this, &SettingsWindow::ResetSettingsControls);
  connect(文件类型, &QComboBox::activated, this, &SettingsWindow::FileTypeChosen);
  connect(是否筛选大小, &QComboBox::activated, this, &SettingsWindow::SizeFilterSwitched);
  connect(是否限制名称, &QComboBox::activated, this, &SettingsWindow::NameFilterSwitched);
  // Kind and unit take effect at once, applied or not.
  connect(限制大小类型, &QComboBox::activated, this,
          [this] { settings_.sizeCompareText = Std(限制大小类型->currentText()); });
  connect(单位, &QComboBox::activated, this,
          [this] { settings_.sizeUnitText = Std(单位->currentText()); });
  connect(显示相同, &QCheckBox::clicked, this, &SettingsWindow::DuplicatesClicked);
  chrome::DragWindowFrom(图片框1);
  chrome::OnClick(图片框3, QEvent::MouseButtonRelease, [this] { showMinimized(); });
  chrome::OnClick(图片框2, QEvent::MouseButtonRelease, [this] { close(); });
}

void SettingsWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) chrome::StartWindowMove(this);
  QDialog::mousePressEvent(event);
}

SettingsControls SettingsWindow::ReadControls() const {
  SettingsControls c;
  c.fileType = Std(文件类型->currentText());
  c.suffix = Std(文件后缀->text());
  c.sizeSwitch = Std(是否筛选大小->currentText());
  c.sizeCompare = Std(限制大小类型->currentText());
  c.sizeValue = Std(大小数值->text());
  c.sizeUnit = Std(单位->currentText());
  c.nameSwitch = Std(是否限制名称->currentText());
  c.keywords = Std(限制名称->text());
  c.showDuplicates = 显示相同->isChecked();
  return c;
}

void SettingsWindow::WriteControls(const SettingsControls& c) {
  SetComboText(文件类型, Qs(c.fileType));
  文件后缀->setText(Qs(c.suffix));
  SetComboText(是否筛选大小, Qs(c.sizeSwitch));
  SetComboText(限制大小类型, Qs(c.sizeCompare));
  大小数值->setText(Qs(c.sizeValue));
  SetComboText(单位, Qs(c.sizeUnit));
  SetComboText(是否限制名称, Qs(c.nameSwitch));
  限制名称->setText(Qs(c.keywords));
}

void SettingsWindow::OnSettingsWindowCreated() {
  chrome::AttachShadow(this, shadows_, 0, 4);
  SettingsControls controls;
  LoadSettingsFile(controls, settings_);
  WriteControls(controls);
  if (文件后缀->text().isEmpty() && 限制名称->text().isEmpty() && 大小数值->text().isEmpty()) {
    ResetSettingsControls();
  }
  CaptureSettings(ReadControls(), settings_, false);
  if (是否筛选大小->currentText() == Qs(kFilterOff)) {
    for (QWidget* w : {static_cast<QWidget*>(限制大小类型), static_cast<QWidget*>(单位),
                       static_cast<QWidget*>(大小数值)}) {
      w->setEnabled(false);
    }
  }
  if (是否限制名称->currentText() == Qs(kFilterOff)) 限制名称->setEnabled(false);
}

void SettingsWindow::ResetSettingsControls() {
  SetComboText(文件类型, Qs(kTypePlaceholder));
  SetComboText(限制大小类型, Qs(kComparePlaceholder));
  SetComboText(单位, Qs(kUnitPlaceholder));
  限制名称->setText(Qs(kKeywordPlaceholder));
  大小数值->setText(Qs(kValuePlaceholder));
  文件后缀->setText(Qs(kSuffixPlaceholder));
  SetComboText(是否筛选大小, Qs(kFilterOff));
  SetComboText(是否限制名称, Qs(kFilterOff));
}

void SettingsWindow::SizeFilterSwitched() {
  const bool on = 是否筛选大小->currentText() != Qs(kFilterOff);
  for (QWidget* w : {static_cast<QWidget*>(限制大小类型), static_cast<QWidget*>(单位),
                     static_cast<QWidget*>(大小数值)}) {
    w->setEnabled(on);
  }
  if (on) return;
  SetComboText(限制大小类型, Qs(kComparePlaceholder));
  SetComboText(单位, Qs(kUnitPlaceholder));
  大小数值->setText(Qs(kValuePlaceholder));
}

void SettingsWindow::NameFilterSwitched() {
  限制名称->setEnabled(是否限制名称->currentText() != Qs(kFilterOff));
}

void SettingsWindow::FileTypeChosen() {
  if (const char* suffixes = PresetSuffixes(Std(文件类型->currentText()))) {
    文件后缀->setText(Qs(suffixes));
    文件后缀->repaint();
  }
}

void SettingsWindow::DuplicatesClicked() {
  if (!显示相同->isChecked()) return;
  seams_.ShowMessage(
      "选中该选项将显示重复文件。如您的文件比较多或者比较大将比较耗时，您可以去泡杯茶或先忙其他事情"
      "，"
      "过会在来查看结果！",
      "显示重复文件：", platform::MessageIcon::Information, platform::MessageButtons::Ok);
}

void SettingsWindow::ApplySettings() {
  const SettingsControls controls = ReadControls();
  if (controls.suffix.empty() || controls.suffix == kSuffixPlaceholder) {
    seams_.Inform("请选择或填写文件类型!");
    return;
  }
  const std::int32_t nameFilterChoice = settings_.nameFilterChoice;
  settings_ = FilterSettings{};
  settings_.nameFilterChoice = nameFilterChoice;
  CaptureSettings(controls, settings_, true);
  SaveSettingsFile(controls, settings_);
  if (controls.sizeSwitch == kFilterOn) {
    if (controls.sizeCompare == kComparePlaceholder) {
      seams_.Inform("您选择了筛选大小，但却未设置筛选大小参数，请选择下面参数！");
      return;
    }
    if (controls.sizeValue == kValuePlaceholder) {
      seams_.Inform("请填写筛选大小！");
      return;
    }
    if (controls.sizeUnit == kUnitPlaceholder) {
      seams_.Inform("请选择单位！");
      return;
    }
  }
  close();
}

}  // namespace corvale::settings
