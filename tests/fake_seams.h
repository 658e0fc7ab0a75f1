// A UiSeams that records every message and answers from a script: lets a widget test click a
// command and read what the user would have seen.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui_seams.h"

namespace corvale::test {

struct ShownMessage {
  std::string text;
  std::string caption;
  platform::MessageIcon icon;
  platform::MessageButtons buttons;
};

class FakeSeams : public platform::UiSeams {
 public:
  platform::MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageIcon icon,
                                      platform::MessageButtons buttons) override {
    messages.push_back({text, caption, icon, buttons});
    if (onMessage) onMessage(messages.back());
    if (answers.empty()) return platform::MessageResult::Ok;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> ChooseFolder(const std::string& title, bool includeFiles) override {
    folderTitles.push_back(title);
    lastIncludeFiles = includeFiles;
    return folderAnswer;
  }
  std::optional<std::string> ChooseSaveFile(const std::string& filter) override {
    saveFilters.push_back(filter);
    return saveAnswer;
  }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void OpenPath(const std::string& path) override { opened.push_back(path); }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  void ShowInFolder(const std::string& path) override { revealed.push_back(path); }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
  }

  std::vector<ShownMessage> messages;
  std::deque<platform::MessageResult> answers;
  std::function<void(const ShownMessage&)> onMessage;
  std::optional<std::string> folderAnswer;
  std::vector<std::string> folderTitles;
  bool lastIncludeFiles = false;
  std::optional<std::string> saveAnswer;
  std::vector<std::string> saveFilters;
  std::string clipboard;
  std::vector<std::string> opened;
  std::vector<std::string> urls;
  std::vector<std::string> revealed;
};

}  // namespace corvale::test
