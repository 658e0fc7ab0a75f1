#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>
#include <thread>

#include "duplicates/digest_job.h"
#include "platform/qt_ui_seams.h"
#include "settings/filter_settings.h"

namespace corvale::app {

using platform::FromQt;
using namespace chrome;
using platform::ToQt;

namespace {

QString Qs(const char* text) { return QString::fromUtf8(text); }

// Gives each control its system name as object name, so tests and tools find it.
void Name(QObject* object, const char* name) { object->setObjectName(Qs(name)); }

}  // namespace

MainWindow::MainWindow(AppRecords& records, platform::UiSeams& seams, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      records_(records),
      seams_(seams),
      model_(std::make_unique<resultlist::ResultListModel>(records.list, records.colours)),
      pump_([this] { OnPump(); }),
      uiThread_(new QObject(this)) {
  setObjectName("MainWindow");
  setWindowTitle("Corvale");
  setGeometry(50, 50, 1146, 664);
  setFixedSize(1146, 664);
  PaintWindowBackground(this);

  BuildTitleStrip();
  BuildResultList();
  BuildFolderGroup();
  BuildEditGroup();
  BuildSearchGroup();
  BuildStatusBar();
  ConnectHandlers();
  OnMainWindowCreated();
}

MainWindow::~MainWindow() {
  // No job or check may report to this window once it is gone.
  updateCheck_.reset();
  records_.pool.CancelAndWait();
  delete tutorial_;
}

void MainWindow::BuildTitleStrip() {
  图片框1 = new PictureBox(this, pictures::TitleStrip);
  图片框1->setGeometry(0, 0, 1152, 88);
  图片框4 = new PictureBox(图片框1, pictures::Settings);
  图片框4->setGeometry(49, 7, 54, 54);
  透明标签1 = NamedLabel(图片框1, "透明标签1", "筛选设置", {49, 60, 67, 24});
  图片框6 = new PictureBox(图片框1, pictures::Tutorial);
  图片框6->setGeometry(224, 10, 50, 50);
  透明标签11 = NamedLabel(图片框1, "透明标签11", "使用教程", {218, 61, 67, 24});
  图片框5 = new PictureBox(图片框1, pictures::Update);
  图片框5->setGeometry(308, 9, 52, 52);
  透明标签2 = NamedLabel(图片框1, "透明标签2", "检查更新", {307, 61, 67, 24});
  图片框7 = new PictureBox(图片框1, pictures::Emblem);
  图片框7->setGeometry(741, 16, 50, 50);
  图片框9 = new PictureBox(图片框1, pictures::Logo);
  图片框9->setGeometry(791, 17, 216, 36);
  透明标签6 =
      NamedLabel(图片框1, "透明标签6", "—— 筛选文件类型、大小、名称、重复文件", {835, 52, 358, 35});
  透明标签5 = NamedLabel(图片框1, "透明标签5", "1.3", {1008, -5, 61, 83});
  图片框3 = new PictureBox(图片框1, pictures::Minimise);
  图片框3->setGeometry(1090, 7, 22, 16);
  图片框2 = new PictureBox(图片框1, pictures::Close);
  图片框2->setGeometry(1118, 2, 24, 24);
  for (QLabel* label : {透明标签1, 透明标签11, 透明标签2, 透明标签6, 透明标签5}) {
    label->setStyleSheet("color: white;");
  }
  for (QWidget* clickable : {static_cast<QWidget*>(图片框4), static_cast<QWidget*>(透明标签1),
                             static_cast<QWidget*>(图片框6), static_cast<QWidget*>(图片框5),
                             static_cast<QWidget*>(图片框3), static_cast<QWidget*>(图片框2)}) {
    clickable->setCursor(Qt::PointingHandCursor);
  }
  Name(图片框1, "图片框1");
  Name(图片框4, "图片框4");
  Name(图片框6, "图片框6");
  Name(图片框5, "图片框5");
  Name(图片框7, "图片框7");
  Name(图片框9, "图片框9");
  Name(图片框3, "图片框3");
  Name(图片框2, "图片框2");
}

void MainWindow::BuildResultList() {
  超级列表框1 = new QTableView(this);
  Name(超级列表框1, "超级列表框1");
  超级列表框1->setGeometry(3, 89, 1140, 415);
  超级列表框1->setModel(model_.get());
  超级列表框1->setSelectionBehavior(QAbstractItemView::SelectRows);
  超级列表框1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  超级列表框1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  超级列表框1->setShowGrid(false);
  超级列表框1->setWordWrap(false);
  超级列表框1->setContextMenuPolicy(Qt::CustomContextMenu);
  超级列表框1->verticalHeader()->hide();
  超级列表框1->verticalHeader()->setDefaultSectionSize(22);
  超级列表框1->horizontalHeader()->setSectionsClickable(true);
  超级列表框1->horizontalHeader()->setMinimumSectionSize(10);
  超级列表框1->horizontalHeader()->setHighlightSections(false);
  // A header click sorts; it must not select a column (and with it every row).
  QObject::disconnect(超级列表框1->horizontalHeader(), SIGNAL(sectionPressed(int)), 超级列表框1,
                      nullptr);
  QObject::disconnect(超级列表框1->horizontalHeader(), SIGNAL(sectionEntered(int)), 超级列表框1,
                      nullptr);
  for (int c = 0; c < resultlist::kColumnCount; ++c) {
    超级列表框1->setColumnWidth(c, resultlist::kColumnWidths[std::size_t(c)]);
  }

  选择框1 = new QCheckBox(Qs("全选"), this);
  Name(选择框1, "选择框1");
  选择框1->setGeometry(11, 508, 62, 16);
  透明标签7 = NamedLabel(this, "透明标签7", "", {83, 502, 405, 32});
}

void MainWindow::BuildFolderGroup() {
  分组框2 = NamedGroup(this, "分组框2", "设置目录：", {3, 527, 509, 112});
  透明标签3 = NamedLabel(分组框2, "透明标签3", "查找目录：", {7, 22, 56, 32});
  编辑框1 = NamedEdit(分组框2, "编辑框1", {70, 25, 295, 26});
  超级按钮3 = NamedButton(分组框2, "超级按钮3", "浏览", {374, 25, 50, 26});
  超级按钮8 = NamedButton(分组框2, "超级按钮8", "打开文件夹", {431, 25, 70, 26});
  透明标签4 = NamedLabel(分组框2, "透明标签4", "目标目录：", {7, 62, 56, 32});
  编辑框2 = NamedEdit(分组框2, "编辑框2", {70, 66, 295, 26});
  超级按钮4 = NamedButton(分组框2, "超级按钮4", "浏览", {374, 66, 50, 26});
  超级按钮9 = NamedButton(分组框2, "超级按钮9", "打开文件夹", {431, 66, 70, 26});
}

void MainWindow::BuildEditGroup() {
  分组框3 = NamedGroup(this, "分组框3", "编辑：", {513, 527, 372, 112});
  超级按钮2 = NamedButton(分组框3, "超级按钮2", "剪切到目标文件夹", {17, 25, 115, 26});
  超级按钮5 = NamedButton(分组框3, "超级按钮5", "复制到目标文件夹", {17, 66, 115, 26});
  超级按钮7 = NamedButton(分组框3, "超级按钮7", "删除选中文件", {145, 25, 90, 26});
  超级按钮6 = NamedButton(分组框3, "超级按钮6", "导出excel", {145, 64, 90, 26});
  超级按钮10 = NamedButton(分组框3, "超级按钮10", "一键删除重复文件", {248, 25, 115, 26});
}

void MainWindow::BuildSearchGroup() {
  分组框4 = NamedGroup(this, "分组框4", "查找：", {888, 527, 256, 112});
  超级按钮1 = NamedButton(分组框4, "超级按钮1", "查找文件", {24, 25, 207, 66});
  单选框1 = new QRadioButton(Qs("方式1"), 分组框4);
  Name(单选框1, "单选框1");
  单选框1->setGeometry(167, 16, 72, 24);
  单选框1->setChecked(true);
  单选框1->hide();  // the only search method: it sits under the button's top edge otherwise
}

void MainWindow::BuildStatusBar() {
  状态条1 = new StatusBar(this);
  Name(状态条1, "状态条1");
  状态条1->setGeometry(0, 622, 1146, 20);
  进度条1 = new QProgressBar(this);
  Name(进度条1, "进度条1");
  进度条1->setGeometry(241, 625, 899, 16);
  进度条1->setTextVisible(false);
  进度条1->hide();
  编辑菜单 = new QMenu(this);
  Name(编辑菜单, "编辑菜单");
  BuildEditMenu();
}

void MainWindow::ConnectHandlers() {
  for (QWidget* handle : {static_cast<QWidget*>(图片框1), static_cast<QWidget*>(图片框7),
                          static_cast<QWidget*>(透明标签5), static_cast<QWidget*>(透明标签6),
                          static_cast<QWidget*>(状态条1)}) {
    DragWindowFrom(handle);
  }
  OnClick(图片框4, QEvent::MouseButtonRelease, [this] { OpenSettingsWindow(false); });
  OnClick(透明标签1, QEvent::MouseButtonRelease, [this] { OpenSettingsWindow(true); });
  OnClick(图片框6, QEvent::MouseButtonRelease, [this] { OpenTutorialWindow(); });
  OnClick(图片框5, QEvent::MouseButtonPress,
          [this] { online::UpdateCheck(seams_, records_.endpoints, true); });
  OnClick(图片框3, QEvent::MouseButtonRelease, [this] { Minimise(); });
  OnClick(图片框2, QEvent::MouseButtonRelease, [this] { CloseByPicture(); });
  // The captions under the update and tutorial pictures do nothing, but they are no drag
  // surface either.
  OnClick(透明标签11, QEvent::MouseButtonRelease, [] {});
  OnClick(透明标签2, QEvent::MouseButtonRelease, [] {});
  SelectAllOnDoubleClick(编辑框1);
  connect(超级按钮3, &QPushButton::clicked, this, &MainWindow::ChooseSearchFolder);
  connect(超级按钮4, &QPushButton::clicked, this, &MainWindow::ChooseTargetFolder);
  connect(超级按钮8, &QPushButton::clicked, this,
          [this] { seams_.OpenPath(FromQt(编辑框1->text())); });
  connect(超级按钮9, &QPushButton::clicked, this,
          [this] { seams_.OpenPath(FromQt(编辑框2->text())); });
  connect(超级按钮1, &QPushButton::clicked, this, &MainWindow::RunSearch);
  // The end of the desktop session may end the program without closing its windows.
  connect(qApp, &QGuiApplication::commitDataRequest, this, &MainWindow::SaveFolders);
  connect(超级列表框1->horizontalHeader(), &QHeaderView::sectionClicked, this,
          &MainWindow::OnHeaderClicked);
  connect(超级按钮5, &QPushButton::clicked, this, &MainWindow::CopyCheckedToTarget);
  connect(超级按钮2, &QPushButton::clicked, this, &MainWindow::MoveCheckedToTarget);
  connect(超级按钮7, &QPushButton::clicked, this, &MainWindow::DeleteCheckedFiles);
  connect(超级按钮6, &QPushButton::clicked, this, &MainWindow::ExportToExcel);
  connect(超级按钮10, &QPushButton::clicked, this, &MainWindow::DeleteDuplicateFiles);
  connect(选择框1, &QCheckBox::clicked, this, &MainWindow::ToggleAllChecks);
  connect(超级列表框1, &QTableView::doubleClicked, this, &MainWindow::OpenByDoubleClick);
  connect(超级列表框1, &QWidget::customContextMenuRequested, this, &MainWindow::OnListRightPress);
}

void MainWindow::OnMainWindowCreated() {
  chrome::AttachShadow(this, records_.shadows, 0, 5);
  编辑框2->setText(ToQt(settings::ReadSetting("保存目录", "保存目录")));
  编辑框1->setText(ToQt(settings::ReadSetting("载入目录", "载入目录")));
  // A worker per core: digests find their rows by candidate, whatever order they end in.
  records_.pool.Start(duplicates::RunDigestJob,
                      int(std::max(1u, std::thread::hardware_concurrency())));
}

void MainWindow::SaveFolders() {
  settings::WriteSetting("载入目录", "载入目录", FromQt(编辑框1->text()));
  settings::WriteSetting("保存目录", "保存目录", FromQt(编辑框2->text()));
}

void MainWindow::ChooseSearchFolder() {
  // A cancelled picker keeps the folder the user had.
  if (auto folder = seams_.ChooseFolder("请选择要搜索的文件夹:", false)) {
    编辑框1->setText(ToQt(*folder));
  }
}

void MainWindow::ChooseTargetFolder() {
  if (auto folder = seams_.ChooseFolder("请添加目标目录:", true)) {
    编辑框2->setText(ToQt(*folder));  // blanks at either end belong to a Linux name
  }
}

settings::SettingsWindow* MainWindow::OpenSettingsWindow(bool modal) {
  auto* window = new settings::SettingsWindow(records_.filter, seams_, records_.shadows, this);
  if (modal) {
    window->exec();
    return nullptr;  // closed and gone
  }
  window->show();
  return window;
}

void MainWindow::OnHeaderClicked(int column) {
  // A duplicate run keeps its candidates by place until its summary: no sort meanwhile.
  if (!resultlist::HeaderSorts(column) || run_.active) return;
  model_->Sort(column, !sortDescendingNext_);
  model_->ClearCellColours();
  if (records_.filter.showDuplicates) model_->ColourDuplicateGroups();
  sortDescendingNext_ = !sortDescendingNext_;
}

online::TutorialWindow* MainWindow::OpenTutorialWindow() {
  if (!tutorial_) {
    // No owner: it is a window of its own on the task bar, closed with the main window.
    tutorial_ = new online::TutorialWindow(seams_, records_.endpoints, records_.shadows);
    tutorial_->move(geometry().center() - tutorial_->rect().center());
  }
  tutorial_->show();
  tutorial_->raise();
  tutorial_->activateWindow();
  return tutorial_;
}

void MainWindow::StartUpdateCheck() {
  if (!records_.endpoints.configured) return;
  updateCheck_ = std::make_unique<online::BackgroundUpdateCheck>(
      records_.endpoints, [this](const std::string& answer) {
        QMetaObject::invokeMethod(
            uiThread_,
            [this, answer] {
              // A current version stays silent at start-up.
              online::ShowUpdateAnswer(seams_, records_.endpoints, answer, false);
            },
            Qt::QueuedConnection);
      });
}

void MainWindow::Minimise() {
  showMinimized();
  setWindowTitle("Corvale1.3");
}

void MainWindow::CloseByPicture() {
  SaveFolders();
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  SaveFolders();
  closing_ = true;
  event->accept();
  emit closed();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) chrome::StartWindowMove(this);
  QWidget::mousePressEvent(event);
}

}  // namespace corvale::app
