// "查找文件": walks the search folder with the file filter and fills the result list.
#include <QCoreApplication>

#include "app/main_window.h"
#include "platform/qt_ui_seams.h"
#include "search/file_facts.h"
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
    const search::FilterHooks filterHooks{[this] { pump_.Pump(); }, search::FileSize};
    const search::WalkHooks walkHooks{[this] { pump_.Pump(); }, [this] { return closing_; }};
    search::WalkFolder(
        folder, "", true,
        [&](const std::string& name, const std::string& path, int folderFd) {
          ++scannedCount_;
          if (fileFilter.Accepts(name, path, filterHooks)) AppendResultRow(name, path, folderFd);
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
  seams_.Inform("查找完成，" + summary);
  超级按钮1->setEnabled(true);
  超级按钮1->setText(QString::fromUtf8("查找文件"));
}

void MainWindow::ResetSearchView() {
  状态条1->Clear();
  records_.list.rows.clear();
  model_->ResetAll();
  scannedCount_ = 0;
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

void MainWindow::AppendResultRow(const std::string& name, const std::string& path, int folderFd) {
  // A file that vanished since the walk found it leaves no row and no gap in the numbering.
  const auto facts = search::FactsForRow(path, folderFd, name);
  if (!facts) return;
  resultlist::ResultRow& row = records_.list.Append();
  row.cells[resultlist::kNumberColumn] = std::to_string(records_.list.rows.size());
  row.cells[resultlist::kNameColumn] = name;
  row.cells[resultlist::kPathColumn] = path;
  row.cells[resultlist::kSizeColumn] = facts->sizeText;
  row.cells[resultlist::kCreatedColumn] = facts->created;
  row.cells[resultlist::kModifiedColumn] = facts->modified;
  row.byteSize = facts->size;
  row.device = facts->device;
  row.inode = facts->inode;
  row.modifiedNs = facts->modifiedNs;
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
