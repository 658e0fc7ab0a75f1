// "查找文件": walks the search folder with the file filter and fills the result list.
#include <QCoreApplication>
#include <climits>

#include "app/main_window.h"
#include "platform/file_system.h"
#include "platform/qt_ui_seams.h"
#include "search/file_filter.h"
#include "search/walk.h"

namespace corvale::app {

using platform::FromQt;
using platform::ToQt;

namespace {

const char* const kUnsetFilterMessage =
    "请在左上角\"筛选设置\"图标进行设置，然后点击\"应用并关闭\"按钮。";

QString Qs(const std::string& text) { return ToQt(text); }

}  // namespace

void MainWindow::RunSearch() {
  状态条1->Clear();
  进度条1->hide();
  model_->ClearCellColours();
  const std::string folder = FromQt(编辑框1->text());
  const settings::FilterSettings& filter = records_.filter;
  if (folder.empty()) {
    seams_.Inform("请添加查找目录！");
    return;
  }
  if (filter.suffixText == settings::kSuffixPlaceholder) {
    seams_.Inform(kUnsetFilterMessage);
    return;
  }
  if (filter.suffixText.empty()) {
    seams_.Inform("请先点击左上方的筛选设置，进行设置！");
    return;
  }
  超级按钮1->setText(QString::fromUtf8("正在查找"));
  超级按钮1->setEnabled(false);
  透明标签7->setText({});
  ResetSearchView();

  if (单选框1->isChecked()) {
    search::FileFilter fileFilter(filter);
    const search::WalkHooks walkHooks{[this] { pump_.Pump(); }, [this] { return closing_; }};
    search::WalkFolder(
        folder, "", true,
        [&](std::string_view name, const std::string& folderPath, int folderFd) {
          ++scannedCount_;
          // Once per entry, so a long suffix list or a huge folder never holds the window.
          pump_.Pump();
          FilterFile(fileFilter, name, folderPath, folderFd);
        },
        walkHooks);
  }
  model_->SyncAppended();
  ShowScannedCount();  // the final count is exact, whatever the pump skipped
  FinishSearch();

  if (closing_) return;
  if (filter.showDuplicates) {
    FindDuplicates();  // the button stays disabled until the run reports
    return;
  }
  EndSearch("共找到" + std::to_string(records_.list.rows.size()) + "项文件。");
}

void MainWindow::EndSearch(const std::string& summary) {
  透明标签7->setText(Qs(summary));
  透明标签7->repaint();
  std::string message = "查找完成，" + summary;
  if (leftOut_ > 0) {
    message += "另有" + std::to_string(leftOut_) + "项文件的路径超过4096字节，无法操作，未列出。";
  }
  seams_.Inform(message);
  超级按钮1->setEnabled(true);
  超级按钮1->setText(QString::fromUtf8("查找文件"));
}

void MainWindow::ResetSearchView() {
  状态条1->Clear();
  records_.list.Clear();
  model_->ResetAll();
  scannedCount_ = 0;
  leftOut_ = 0;
  状态条1->AddPane(QString::fromUtf8(" 开始查找："), 100, false);
  状态条1->AddPane({}, -1, false);
}

void MainWindow::OnPump() {
  ShowScannedCount();
  const auto now = std::chrono::steady_clock::now();
  if (now - lastRowSync_ >= std::chrono::milliseconds(100)) {
    model_->SyncAppended();
    lastRowSync_ = now;
  }
}

void MainWindow::ShowScannedCount() {
  if (状态条1->PaneCount() > 1 && scannedCount_ > 0) {
    状态条1->SetPaneText(1, QString::number(scannedCount_));
  }
}

void MainWindow::FilterFile(search::FileFilter& filter, std::string_view name,
                            const std::string& folder, int folderFd) {
  if (!filter.MatchesSuffix(name)) return;
  // The walk's names end in NUL. A file that vanished since the walk found it leaves no row and
  // no gap in the numbering.
  const auto facts = platform::StatAt(folderFd, name.data());
  if (!facts || !filter.PassesSizeAndName(name, facts->size)) return;
  if (folder.size() + name.size() >= PATH_MAX) {
    ++leftOut_;  // no command could reach it by its path
    return;
  }
  AppendResultRow(folder, name, *facts);
}

void MainWindow::AppendResultRow(const std::string& folder, std::string_view name,
                                 const platform::FileStat& facts) {
  resultlist::ResultRow& row = records_.list.Append(folder, name);
  row.byteSize = facts.size;
  row.createdSeconds = facts.created.tv_sec;
  row.modifiedNs = facts.ModifiedNs();
  row.device = facts.device;
  row.inode = facts.inode;
}

void MainWindow::FinishSearch() {
  const std::size_t n = records_.list.rows.size();
  if (n == 0) return;
  选择框1->setChecked(true);
  for (auto& row : records_.list.rows) row.checked = true;
  model_->AllCellsChanged();
  状态条1->RemovePane(1);
  状态条1->SetPaneWidth(0, 300);
  状态条1->SetPaneText(0, Qs("  查找完成，共找到" + std::to_string(n) + "项文件。"));
}

}  // namespace corvale::app
