// MainWindow: the frameless main window with its drawn title strip, the result list, the folder
// group, the edit and search groups and the status bar. Controls keep their system names.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QWidget>
#include <chrono>
#include <memory>

#include "app/app_records.h"
#include "app/status_bar.h"
#include "chrome/window_parts.h"
#include "duplicates/digest_inbox.h"
#include "duplicates/grouping.h"
#include "online/tutorial_window.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/ui_seams.h"
#include "resultlist/result_list_model.h"
#include "search/file_filter.h"
#include "settings/settings_window.h"

namespace corvale::app {

using chrome::PictureBox;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  MainWindow(AppRecords& records, platform::UiSeams& seams, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Title strip.
  PictureBox* 图片框1;
  PictureBox* 图片框4;
  QLabel* 透明标签1;
  PictureBox* 图片框6;
  QLabel* 透明标签11;
  PictureBox* 图片框5;
  QLabel* 透明标签2;
  PictureBox* 图片框7;
  PictureBox* 图片框9;
  QLabel* 透明标签6;
  QLabel* 透明标签5;
  PictureBox* 图片框3;
  PictureBox* 图片框2;
  // Result list and what sits under it.
  QTableView* 超级列表框1;
  QCheckBox* 选择框1;
  QLabel* 透明标签7;
  // 设置目录：
  QGroupBox* 分组框2;
  QLabel* 透明标签3;
  QLineEdit* 编辑框1;
  QPushButton* 超级按钮3;
  QPushButton* 超级按钮8;
  QLabel* 透明标签4;
  QLineEdit* 编辑框2;
  QPushButton* 超级按钮4;
  QPushButton* 超级按钮9;
  // 编辑：
  QGroupBox* 分组框3;
  QPushButton* 超级按钮2;
  QPushButton* 超级按钮5;
  QPushButton* 超级按钮7;
  QPushButton* 超级按钮6;
  QPushButton* 超级按钮10;
  // 查找：
  QGroupBox* 分组框4;
  QPushButton* 超级按钮1;
  QRadioButton* 单选框1;
  QProgressBar* 进度条1;
  StatusBar* 状态条1;
  QMenu* 编辑菜单;

  resultlist::ResultListModel& Model() { return *model_; }
  resultlist::ResultList& List() { return records_.list; }

  // Commands (handlers of the controls), public so that tests drive them as a click would.
  void RunSearch();
  void SaveFolders();
  void ChooseSearchFolder();
  void ChooseTargetFolder();
  void Minimise();
  void CloseByPicture();
  void OnHeaderClicked(int column);
  void CopyCheckedToTarget();
  void MoveCheckedToTarget();
  void ExportToExcel();
  void DeleteCheckedFiles();
  void DeleteDuplicateFiles();
  void DeleteCurrentFile();
  void CopyRowText();
  void CopyFileName();
  void CopyFilePath();
  void ShowInFolder();
  void OpenByDoubleClick();
  void ToggleAllChecks();
  void OnListRightPress(const QPoint& position);
  // The first selected row in list order, or nothing.
  const resultlist::ResultRow* CurrentRow() const;
  // A new SettingsWindow each time; modal waits until it is closed.
  settings::SettingsWindow* OpenSettingsWindow(bool modal);
  // One TutorialWindow at a time: opening it again brings the open one to the front.
  online::TutorialWindow* OpenTutorialWindow();
  // The start-up update check, in the background: its message, if any, comes when the answer
  // arrives. A build without a configured service does none.
  void StartUpdateCheck();

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BuildTitleStrip();
  void BuildResultList();
  void BuildFolderGroup();
  void BuildEditGroup();
  void BuildSearchGroup();
  void BuildStatusBar();
  void ConnectHandlers();
  void OnMainWindowCreated();

  // Search steps.
  void ResetSearchView();
  // Decides one entry of the walk and lists it when it passes.
  void FilterFile(search::FileFilter& filter, std::string_view name, const std::string& folder,
                  int folderFd);
  void AppendResultRow(const std::string& folder, std::string_view name,
                       const platform::FileStat& facts);
  void FinishSearch();
  void ShowScannedCount();
  // Runs before the event loop at the fixed points of a long loop: the counter repaints each time,
  // new rows reach the view in batches, each costing a repaint of the list.
  void OnPump();

  // Rebuilds the status bar as a caption pane of the given width and pane 1 with 进度条1 over it.
  void ShowProgressPanes(const char* caption, int width);
  void TransferCheckedToTarget(bool move);
  // The current row, or nothing after showing the command's message for an empty selection.
  const resultlist::ResultRow* GuardCurrentRow(const char* command);
  void BuildEditMenu();

  // Duplicate run.
  void FindDuplicates();
  void SubmitCandidates();
  void OnDigestsReady();
  void ShowDigestProgress();
  void GroupDuplicatesAndReport();
  void EndSearch(const std::string& summary);

  AppRecords& records_;
  platform::UiSeams& seams_;
  std::unique_ptr<resultlist::ResultListModel> model_;
  platform::EventPump pump_;
  std::int32_t scannedCount_ = 0;
  // Files that passed the filter but whose path is too long for any command to reach.
  std::size_t leftOut_ = 0;
  std::chrono::steady_clock::time_point lastRowSync_{};
  bool closing_ = false;
  // One sort direction for all columns, flipped by every header click: ascending while false.
  bool sortDescendingNext_ = false;

  // The current duplicate run. Digests come back from the workers by candidate; a digest of an
  // earlier run (a run id that is not the current one) is dropped.
  struct DuplicateRun {
    std::uint64_t id = 0;
    bool active = false;  // from the start of the run until its summary
    std::vector<duplicates::Candidate> candidates;
    std::vector<std::optional<resultlist::Digest>> digests;  // digests[k] for candidates[k]
    std::size_t reported = 0;
    bool submitting = false;
    bool progressShown = false;
  } run_;
  duplicates::DigestInbox digestInbox_;
  // Receives the calls that other threads queue for the UI thread; goes with the window, and with
  // it any call still queued.
  QObject* uiThread_;
  QPointer<online::TutorialWindow> tutorial_;
  std::unique_ptr<online::BackgroundUpdateCheck> updateCheck_;
};

}  // namespace corvale::app
