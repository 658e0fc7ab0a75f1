// The update check and the tutorial links: both ask the program's online service and hand the
// addresses it answers to the browser.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/ui_seams.h"

namespace corvale::online {

inline constexpr const char* kVersionText = "1.3";

struct Endpoints {
  std::string update;
  std::string info;
  // False in a build whose addresses were left at their defaults: there is no service to ask.
  bool configured = true;
};

// The service's addresses as this build was configured.
Endpoints ConfiguredEndpoints();

// The service's answer to whether this version is the newest; "" when it could not be asked.
std::string AskForUpdate(const Endpoints& endpoints, const std::atomic<bool>* cancelled = nullptr);

// Shows what an answer means. "1": a notice, only once the main window exists; empty:
// "网络连接出错！"; "0": offers the download address; anything else: nothing.
void ShowUpdateAnswer(platform::UiSeams& seams, const Endpoints& endpoints,
                      const std::string& answer, bool mainWindowExists);

// Asks and shows the answer, waiting for it: the check the user asks for.
void UpdateCheck(platform::UiSeams& seams, const Endpoints& endpoints, bool mainWindowExists);

// The start-up check, off the UI thread. `arrived` runs on the checking thread with the answer;
// the caller carries it to the UI thread. Destroying the check abandons it: the request stops and
// `arrived` is not called any more.
class BackgroundUpdateCheck {
 public:
  BackgroundUpdateCheck(Endpoints endpoints, std::function<void(const std::string&)> arrived);
  ~BackgroundUpdateCheck();
  BackgroundUpdateCheck(const BackgroundUpdateCheck&) = delete;
  BackgroundUpdateCheck& operator=(const BackgroundUpdateCheck&) = delete;

 private:
  std::atomic<bool> cancelled_{false};
  std::thread thread_;
};

// Opens the address that follows label in the information text, if there is one. Only http and
// https addresses are opened; any other is a broken answer: "网络连接出错！".
void OpenTutorialLink(platform::UiSeams& seams, const Endpoints& endpoints,
                      const std::string& label);

}  // namespace corvale::online
