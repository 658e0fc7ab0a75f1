// The user-interface services a command needs besides its own widgets: message boxes, folder and
// save dialogs, the clipboard and the shell. Windows call these; tests install a fake that records
// what was shown and answers.
#pragma once

#include <optional>
#include <string>

namespace corvale::platform {

enum class MessageIcon { None, Information, Warning, Question };
enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

inline constexpr const char* kDefaultCaption = "信息：";

class UiSeams {
 public:
  virtual ~UiSeams() = default;

  // Application-modal, no parent window.
  virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  MessageResult Inform(const std::string& text) {
    return ShowMessage(text, kDefaultCaption, MessageIcon::Information, MessageButtons::Ok);
  }

  // The chosen path, or nothing when the user cancelled. includeFiles lists files as well, and a
  // chosen file's path comes back.
  virtual std::optional<std::string> ChooseFolder(const std::string& title, bool includeFiles) = 0;
  // The file name typed or chosen, or nothing when cancelled. Never asks whether to replace an
  // existing file: the caller does, once it knows the final name.
  virtual std::optional<std::string> ChooseSaveFile(const std::string& filter) = 0;

  virtual void SetClipboardText(const std::string& text) = 0;
  // Opens a file or folder with the desktop's default handler.
  virtual void OpenPath(const std::string& path) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
  // Shows the file manager with the file selected.
  virtual void ShowInFolder(const std::string& path) = 0;
};

}  // namespace corvale::platform
