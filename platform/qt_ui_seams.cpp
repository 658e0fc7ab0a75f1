#include "platform/qt_ui_seams.h"

#include "platform/file_system.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace corvale::platform {

QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::string FromQt(const QString& text) { return text.toStdString(); }

std::string FromQtPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QUrl FileUrl(const std::string& path) {
  // Built from the name's own bytes, percent-encoded: a name that is not valid UTF-8 (legal on
  // Linux) still names its file, where a round trip through QString would not.
  QByteArray encoded = "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
  return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

namespace {

// Qt's own folder dialog lists files when asked to, but greys its button out for a file and will
// not take one: this one keeps the button enabled and takes a chosen file as well as a folder.
class FileOrFolderDialog : public QFileDialog {
 public:
  FileOrFolderDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title) {}

  // Call once the dialog's mode and options are set: its widgets exist from then on.
  void KeepChooseButtonEnabled() {
    auto* buttons = findChild<QDialogButtonBox*>("buttonBox");
    QPushButton* choose = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    if (!choose) return;
    // Qt greys the button out again whenever the selection or the typed name changes; this runs
    // after it.
    const auto enable = [choose] { choose->setEnabled(true); };
    connect(this, &QFileDialog::currentChanged, choose, enable, Qt::QueuedConnection);
    if (auto* name = findChild<QLineEdit*>("fileNameEdit")) {
      connect(name, &QLineEdit::textChanged, choose, enable, Qt::QueuedConnection);
    }
  }

  // What was chosen, as it stood when the choice was made: a closed dialog may have moved on.
  QString chosen;

 protected:
  void accept() override {
    const QStringList selected = selectedFiles();
    if (selected.isEmpty()) return;
    chosen = selected.front();
    if (selected.size() == 1 && QFileInfo(chosen).isFile()) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }
};

}  // namespace

QtUiSeams::QtUiSeams()
    : messageLog_(qEnvironmentVariable("CORVALE_MESSAGE_LOG")),
      answerOk_(qEnvironmentVariable("CORVALE_MESSAGE_ANSWER") == "OK") {}

MessageResult QtUiSeams::ShowMessage(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
  if (!messageLog_.isEmpty()) {
    QFile log(messageLog_);
    if (log.open(QIODevice::Append))
      log.write(QByteArray::fromStdString(caption + "|" + text + "\n"));
    // A question is never answered yes by the log alone: a second switch has to say so.
    return buttons == MessageButtons::Ok || answerOk_ ? MessageResult::Ok : MessageResult::Cancel;
  }
  QMessageBox box;
  box.setWindowTitle(ToQt(caption));
  box.setText(ToQt(text));
  box.setWindowModality(Qt::ApplicationModal);
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  if (buttons == MessageButtons::OkCancel) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  return box.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

std::optional<std::string> QtUiSeams::ChooseFolder(const std::string& title, bool includeFiles) {
  FileOrFolderDialog dialog(QApplication::activeWindow(), ToQt(title));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, !includeFiles);
  if (includeFiles) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.KeepChooseButtonEnabled();
  }
  if (dialog.exec() != QDialog::Accepted || dialog.chosen.isEmpty()) return std::nullopt;
  return FromQtPath(dialog.chosen);
}

std::optional<std::string> QtUiSeams::ChooseSaveFile(const std::string& filter) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The caller asks before replacing, once it knows the final name.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(ToQt(filter));
  if (!lastSaveName_.isEmpty()) dialog.selectFile(lastSaveName_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  lastSaveName_ = dialog.selectedFiles().front();
  return FromQtPath(lastSaveName_);
}

void QtUiSeams::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(ToQt(text));
}

void QtUiSeams::OpenPath(const std::string& path) { QDesktopServices::openUrl(FileUrl(path)); }

void QtUiSeams::OpenUrl(const std::string& url) { QDesktopServices::openUrl(QUrl(ToQt(url))); }

void QtUiSeams::ShowInFolder(const std::string& path) {
  auto call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                             "/org/freedesktop/FileManager1",
                                             "org.freedesktop.FileManager1", "ShowItems");
  call << QStringList{QString::fromLatin1(FileUrl(path).toEncoded())} << QString();
  const auto reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
  if (reply.type() == QDBusMessage::ReplyMessage) return;
  // No file manager answers on the bus: open the containing folder instead.
  QDesktopServices::openUrl(FileUrl(FolderOfPath(path)));
}

}  // namespace corvale::platform
