#include "platform/qt_ui_seams.h"

#include "platform/file_system.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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

// Qt's own folder dialog lists files when asked to, but will not take one: this one takes a
// chosen file as well as a chosen folder.
class FileOrFolderDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  QString chosenFile;

 protected:
  void accept() override {
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && QFileInfo(chosen.front()).isFile()) {
      chosenFile = chosen.front();
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
  if (includeFiles) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (!dialog.chosenFile.isEmpty()) return FromQtPath(dialog.chosenFile);
  if (dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQtPath(dialog.selectedFiles().front());
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
