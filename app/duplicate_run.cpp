// The duplicate run that ends a search with "显示重复文件": candidates by byte size, digests on
// the workers, then groups of identical files marked, coloured and counted.
#include "app/main_window.h"
#include "duplicates/digest_job.h"
#include "platform/qt_ui_seams.h"

namespace corvale::app {

void MainWindow::FindDuplicates() {
  const std::size_t n = records_.list.rows.size();
  const std::uint64_t runId = run_.id + 1;
  run_ = DuplicateRun{};
  run_.id = runId;
  // From here until the summary no header click sorts: the run keeps its candidates by place.
  run_.active = true;
  if (n > 0) {
    model_->Sort(resultlist::kSizeColumn, true);
    pump_.Pump();
    run_.candidates = duplicates::MarkCandidates(records_.list);
    model_->AllCellsChanged();
    if (!run_.candidates.empty()) {
      SubmitCandidates();
      return;  // the last digest to arrive groups and reports
    }
  }
  duplicates::RenumberRows(records_.list);
  model_->AllCellsChanged();
  run_.active = false;
  EndSearch("共找到" + std::to_string(n) + "项文件。没有发现重复文件。");
}

void MainWindow::SubmitCandidates() {
  run_.digests.assign(run_.candidates.size(), std::nullopt);
  run_.submitting = true;
  const auto done = [this, runId = run_.id](std::size_t candidate,
                                            const std::optional<resultlist::Digest>& digest) {
    // Runs on a worker: the first report of a batch wakes the UI thread, which takes them all.
    if (digestInbox_.Post({runId, candidate, digest})) {
      QMetaObject::invokeMethod(
          uiThread_, [this] { OnDigestsReady(); }, Qt::QueuedConnection);
    }
  };
  for (const std::size_t k : duplicates::ReadingOrder(records_.list, run_.candidates)) {
    const resultlist::ResultRow& row = records_.list.rows[run_.candidates[k].row];
    records_.pool.Submit({std::string(row.Path()), row.byteSize, row.device, row.inode, k, done});
    pump_.Pump();
  }
  run_.submitting = false;
  if (run_.reported == run_.candidates.size()) GroupDuplicatesAndReport();
}

void MainWindow::OnDigestsReady() {
  for (const auto& report : digestInbox_.Take()) {
    if (report.run != run_.id || closing_ || report.candidate >= run_.digests.size()) continue;
    run_.digests[report.candidate] = report.digest;
    ++run_.reported;
  }
  if (run_.reported == 0 || !run_.active) return;
  ShowDigestProgress();
  if (!run_.submitting && run_.reported == run_.candidates.size()) GroupDuplicatesAndReport();
}

void MainWindow::ShowDigestProgress() {
  if (!run_.progressShown) ShowProgressPanes("开始识别重复文件：", 150);
  run_.progressShown = true;
  进度条1->setMaximum(int(run_.candidates.size() + 3));
  进度条1->setValue(int(run_.reported));
}

void MainWindow::GroupDuplicatesAndReport() {
  model_->BeginReorder();
  const auto result = duplicates::GroupDuplicates(records_.list, run_.candidates, run_.digests);
  model_->EndReorder();
  model_->ColourDuplicateGroups();
  model_->AllCellsChanged();
  进度条1->setMaximum(int(run_.candidates.size() + 3));
  进度条1->setValue(int(run_.reported + 3));
  状态条1->SetPaneText(0, QString::fromUtf8("任务完成！"));
  run_.active = false;
  EndSearch("共找到" + std::to_string(result.files) + "项文件。其中发现重复文件：" +
            std::to_string(result.groups) + "组。");
}

}  // namespace corvale::app
