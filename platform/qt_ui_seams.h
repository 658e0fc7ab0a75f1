// The real user-interface services, on Qt: QMessageBox, QFileDialog, QClipboard,
// QDesktopServices and the freedesktop file-manager D-Bus interface.
#pragma once

#include <QString>
#include <QUrl>

#include "platform/ui_seams.h"

namespace corvale::platform {

// Bytes of the program's code page (UTF-8) to a widget text; invalid bytes show as U+FFFD.
QString ToQt(const std::string& text);
std::string FromQt(const QString& text);
// File names: raw bytes to and from Qt's file-name encoding.
std::string FromQtPath(const QString& path);
// The file: URL of a path, from its bytes.
QUrl FileUrl(const std::string& path);

class QtUiSeams : public UiSeams {
 public:
  QtUiSeams();

  MessageResult ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                            MessageButtons buttons) override;
  std::optional<std::string> ChooseFolder(const std::string& title, bool includeFiles) override;
  std::optional<std::string> ChooseSaveFile(const std::string& filter) override;
  void SetClipboardText(const std::string& text) override;
  void OpenPath(const std::string& path) override;
  void OpenUrl(const std::string& url) override;
  void ShowInFolder(const std::string& path) override;

 private:
  // When CORVALE_MESSAGE_LOG names a file, messages are appended there instead of being shown:
  // lets a test drive a real copy of the program without a display. A report is answered OK, a
  // question Cancel unless CORVALE_MESSAGE_ANSWER=OK is set as well.
  QString messageLog_;
  bool answerOk_;
  QString lastSaveName_;
};

}  // namespace corvale::platform
