// The duplicate run that ends a search with "显示重复文件": candidates by byte size, digests on
// the worker, then groups of identical files marked, coloured and counted.
#include "app/main_window.h"
#include "duplicates/digest_job.h"
#include "duplicates/grouping.h"
#include "platform/qt_ui_seams.h"

namespace corvale::app {

using resultlist::kPathColumn;

void MainWindow::FindDuplicates() {
  const std::size_t n = records_.list.rows.size();
  const std::uint64_t runId = run_.id + 1;
  run_ = DuplicateRun{};
  run_.id = runId;
  if (n > 0) {
    model_->Sort(resultlist::kSizeColumn, resultlist::CompareKind::Number, true);
    pump_.Pump();
    duplicates::MarkCandidates(records_.list);
    model_->AllCellsChanged();
    SubmitCandidates();
    if (run_.candidates > 0) return;  // the last digest to arrive groups and reports
  }
  duplicates::RenumberRows(records_.list);
  model_->AllCellsChanged();
  EndSearch("共找到" + std::to_string(n) + "项文件。没有发现重复文件。");
}

void MainWindow::SubmitCandidates() {
  // Paths are collected first: the pump below may let a header click reorder the list.
  std::vector<std::pair<std::uint64_t, std::string>> candidates;
  for (const auto& row : records_.list.rows) {
    if (row.cells[resultlist::kMarkColumn] == resultlist::kCandidateMark) {
      candidates.emplace_back(row.id, row.cells[kPathColumn]);
    }
  }
  run_.submitting = true;
  for (const auto& [rowId, path] : candidates) {
    ++run_.candidates;
    auto done = [inbox = digestInbox_, this, runId = run_.id,
                 rowId = rowId](const std::string& digest) {
      QMetaObject::invokeMethod(
          inbox, [this, runId, rowId, digest] { OnDigestReady(runId, rowId, digest); },
          Qt::QueuedConnection);
    };
    records_.pool.Submit(duplicates::MakeDigestJob(path, std::move(done)));
    pump_.Pump();
  }
  run_.submitting = false;
  if (run_.candidates > 0 && run_.reported == run_.candidates) GroupDuplicatesAndReport();
}

void MainWindow::OnDigestReady(std::uint64_t runId, std::uint64_t rowId,
                               const std::string& digest) {
  if (runId != run_.id || closing_) return;
  run_.digests[rowId] = digest;
  ++run_.reported;
  ShowDigestProgress();
  if (!run_.submitting && run_.reported == run_.candidates) GroupDuplicatesAndReport();
}

void MainWindow::ShowDigestProgress() {
  if (run_.reported == 1) ShowProgressPanes("开始识别重复文件：", 150);
  进度条1->setMaximum(int(run_.candidates + 3));
  进度条1->setValue(int(run_.reported));
}

void MainWindow::GroupDuplicatesAndReport() {
  model_->BeginReorder();
  const auto result = duplicates::GroupDuplicates(records_.list, run_.digests);
  model_->EndReorder();
  model_->ColourDuplicateGroups();
  model_->AllCellsChanged();
  进度条1->setMaximum(int(run_.candidates + 3));
  进度条1->setValue(int(run_.reported + 3));
  状态条1->SetPaneText(0, QString::fromUtf8("任务完成！"));
  EndSearch("共找到" + std::to_string(result.files) + "项文件。其中发现重复文件：" +
            std::to_string(result.groups) + "组。");
}

}  // namespace corvale::app
