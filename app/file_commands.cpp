// The "编辑：" commands and the row actions: copy and move the ticked files into the target
// folder, delete files, the pop-up menu, double click and "全选".
#include <QContextMenuEvent>

#include "app/main_window.h"
#include "export/list_export.h"
#include "fileops/transfer.h"
#include "platform/file_ops.h"
#include "platform/file_system.h"
#include "platform/qt_ui_seams.h"
#include "search/file_facts.h"

namespace corvale::app {

using platform::FromQt;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;
using platform::ToQt;

namespace {

QString Qs(const std::string& text) { return ToQt(text); }

// The report of a deletion that left some files in place.
std::string DeletedAndKept(std::size_t deleted, std::size_t kept, const char* why) {
  return "已删除" + std::to_string(deleted) + "个文件，" + std::to_string(kept) + "个文件" + why +
         "，未删除。";
}

}  // namespace

void MainWindow::TransferCheckedToTarget(bool move) {
  QPushButton* button = move ? 超级按钮2 : 超级按钮5;
  const std::string doneText = move ? "剪切完成。" : "复制完成。";
  const std::string target = FromQt(编辑框2->text());
  // A target that is no folder (nothing typed, a file chosen, a typo) is refused before any
  // file is touched.
  if (target.empty() || !platform::IsFolder(target)) {
    seams_.Inform("请设置目标目录！");
    状态条1->SetPaneText(0, Qs(doneText));
    return;
  }
  button->setText(QString::fromUtf8(move ? "移动中……" : "复制中……"));
  button->setEnabled(false);
  ShowProgressPanes(move ? "开始剪切：" : "开始复制：", 100);
  进度条1->setValue(0);
  const std::size_t checkedCount = records_.list.CheckedCount();
  // A range of 0..0 is Qt's endless busy bar: with nothing ticked the bar stays empty instead.
  进度条1->setMaximum(int(std::max<std::size_t>(checkedCount, 1)));

  // The rows are taken by identity: a sort or a new tick during the run, let through by the
  // pump, changes neither which file a row names nor whether it is still ticked when reached.
  std::vector<std::uint64_t> ids;
  ids.reserve(records_.list.rows.size());
  for (const auto& row : records_.list.rows) ids.push_back(row.id);
  std::size_t handled = 0, transferred = 0, clashes = 0;
  for (const std::uint64_t id : ids) {
    if (!move) pump_.Pump();
    const resultlist::ResultRow* row = model_->FindRow(id);
    if (row && row->checked) {
      const auto outcome = fileops::TransferToTarget(std::string(row->Path()),
                                                     std::string(row->Name()), target, move);
      transferred += outcome.done;
      clashes += outcome.clashed;
      ++handled;
    }
    if (move) pump_.Pump();
    进度条1->setValue(int(std::min(handled, checkedCount)));
  }
  if (move) {
    seams_.Inform("移动文件任务完成，共完成移动文件：" + std::to_string(transferred) +
                  "个。其中目标文件夹中有重名的：" + std::to_string(clashes) + "个。");
    button->setEnabled(true);
    button->setText(QString::fromUtf8("剪切到目标文件夹"));
  } else {
    button->setText(QString::fromUtf8("复制到目标文件夹"));
    button->setEnabled(true);
    seams_.Inform("复制任务完成，共完成复制对象：" + std::to_string(transferred) +
                  "个。其中有重名的：" + std::to_string(clashes) + "个。");
  }
  状态条1->SetPaneText(0, Qs(doneText));
}

void MainWindow::ShowProgressPanes(const char* caption, int width) {
  状态条1->Clear();
  状态条1->AddPane(QString::fromUtf8(caption), width);
  状态条1->AddPane({}, -1);
  进度条1->setParent(状态条1);
  进度条1->setGeometry(状态条1->PaneRect(1));
  进度条1->show();
}

void MainWindow::CopyCheckedToTarget() { TransferCheckedToTarget(false); }
void MainWindow::MoveCheckedToTarget() { TransferCheckedToTarget(true); }

void MainWindow::ExportToExcel() {
  // A cancelled dialog exports nothing.
  const auto chosen = seams_.ChooseSaveFile("*.xls");
  if (!chosen || chosen->empty()) return;
  // Asked here, once the final name is known ("report" becomes "report.xls"); the dialog itself
  // does not ask.
  const std::string fileName = exporter::ExportFileName(*chosen);
  if (platform::PathExists(fileName) &&
      seams_.ShowMessage("文件已存在，是否替换？", platform::kDefaultCaption, MessageIcon::Question,
                         MessageButtons::OkCancel) != MessageResult::Ok) {
    return;
  }
  const bool written = exporter::WriteListToWorkbook(fileName, records_.list);
  seams_.Inform(written ? "导出完成！" : "导出失败！");
}

void MainWindow::DeleteCheckedFiles() {
  状态条1->Clear();
  const std::size_t n = records_.list.CheckedCount();
  if (seams_.ShowMessage("确定要删除列表框中选中的" + std::to_string(n) + "项文件？", "删除文件",
                         MessageIcon::Warning, MessageButtons::OkCancel) != MessageResult::Ok) {
    return;
  }
  std::vector<std::string> paths;
  for (const auto& row : records_.list.rows) {
    if (row.checked) paths.emplace_back(row.Path());
  }
  超级按钮7->setEnabled(false);
  std::size_t deleted = 0;
  for (const auto& path : paths) {
    deleted += platform::DeleteFileStrict(path);
    pump_.Pump();
  }
  超级按钮7->setEnabled(true);
  const std::size_t kept = paths.size() - deleted;
  seams_.Inform(kept == 0 ? "完成删除任务，共删除文件：" + std::to_string(deleted) + "个。"
                          : DeletedAndKept(deleted, kept, "无法删除"));
}

void MainWindow::DeleteDuplicateFiles() {
  const auto victims = fileops::CollectDuplicateVictims(records_.list);
  if (seams_.ShowMessage("您确认要删除" + std::to_string(victims.size()) +
                             "个重复的文件吗？删除后您可以重新查找确认已删除。",
                         platform::kDefaultCaption, MessageIcon::Question,
                         MessageButtons::OkCancel) != MessageResult::Ok) {
    return;
  }
  超级按钮10->setEnabled(false);
  std::size_t deleted = 0;
  for (const auto& victim : victims) {
    // Both files are checked anew before each deletion: a file edited, replaced or removed since
    // the run must not take the last copy of its content with it.
    deleted += fileops::SafeToDelete(victim) && platform::DeleteFileStrict(victim.victim.path);
    pump_.Pump();
  }
  超级按钮10->setEnabled(true);
  const std::size_t kept = victims.size() - deleted;
  seams_.Inform(kept == 0 ? "删除成功！" : DeletedAndKept(deleted, kept, "已改变或无法删除"));
}

const resultlist::ResultRow* MainWindow::CurrentRow() const {
  const auto selected = 超级列表框1->selectionModel()->selectedRows();
  int first = -1;
  for (const QModelIndex& index : selected) {
    if (first < 0 || index.row() < first) first = index.row();
  }
  if (first < 0 || std::size_t(first) >= records_.list.rows.size()) return nullptr;
  return &records_.list.rows[std::size_t(first)];
}

const resultlist::ResultRow* MainWindow::GuardCurrentRow(const char* command) {
  const resultlist::ResultRow* row = CurrentRow();
  if (!row || row->Name().empty()) {
    seams_.Inform(std::string("选中项内容为空，无法执行") + command + "命令！");
    return nullptr;
  }
  return row;
}

void MainWindow::DeleteCurrentFile() {
  const auto* row = GuardCurrentRow("删除");
  if (!row) return;
  const std::string path(row->Path());
  if (seams_.ShowMessage("确定要删除文件：  " + std::string(row->Name()), platform::kDefaultCaption,
                         MessageIcon::Warning, MessageButtons::OkCancel) == MessageResult::Ok &&
      !platform::DeleteFileStrict(path)) {
    seams_.Inform("删除失败！");
  }
}

void MainWindow::CopyRowText() {
  const auto* row = GuardCurrentRow("复制本行");
  if (!row) return;
  std::string text;
  for (int c = resultlist::kNumberColumn; c <= resultlist::kModifiedColumn; ++c) {
    if (c > resultlist::kNumberColumn) text += ' ';
    text += resultlist::CellText(*row, c);
  }
  seams_.SetClipboardText(text);
}

void MainWindow::CopyFileName() {
  if (const auto* row = GuardCurrentRow("复制文件名"))
    seams_.SetClipboardText(std::string(row->Name()));
}

void MainWindow::CopyFilePath() {
  if (const auto* row = GuardCurrentRow("复制路径"))
    seams_.SetClipboardText(std::string(row->Path()));
}

void MainWindow::ShowInFolder() {
  if (const auto* row = GuardCurrentRow("打开所在文件夹"))
    seams_.ShowInFolder(std::string(row->Path()));
}

void MainWindow::OpenByDoubleClick() {
  const auto* row = CurrentRow();
  if (!row) return;
  const std::string path(row->Path());
  if (search::FileExists(path)) {
    seams_.OpenPath(path);
  } else {
    seams_.Inform("该文件已不存在，是否移动了该文件？");
  }
}

void MainWindow::ToggleAllChecks() {
  const bool checked = 选择框1->isChecked();
  for (auto& row : records_.list.rows) row.checked = checked;
  model_->CellsChanged(0, int(records_.list.rows.size()) - 1, resultlist::kTickColumn,
                       resultlist::kTickColumn);
}

void MainWindow::BuildEditMenu() {
  const auto add = [this](const char* text, void (MainWindow::*action)()) {
    编辑菜单->addAction(QString::fromUtf8(text), this, action);
  };
  add("复制本行", &MainWindow::CopyRowText);
  add("复制文件名", &MainWindow::CopyFileName);
  add("复制路径", &MainWindow::CopyFilePath);
  add("删除文件", &MainWindow::DeleteCurrentFile);
  编辑菜单->addSeparator();
  add("打开所在文件夹", &MainWindow::ShowInFolder);
}

void MainWindow::OnListRightPress(const QPoint& position) {
  // The row under the mouse becomes the current row, so the item acts on what was clicked.
  const QModelIndex index = 超级列表框1->indexAt(position);
  if (index.isValid()) 超级列表框1->selectRow(index.row());
  编辑菜单->popup(超级列表框1->viewport()->mapToGlobal(position));
}

}  // namespace corvale::app
