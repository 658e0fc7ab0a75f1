#include "online/online_services.h"

#include "online/endpoints.h"
#include "online/http_client.h"
#include "online/url_text.h"

namespace corvale::online {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

namespace {

// Every failure of the service, to the user: a failed request or an answer that cannot be used.
void ShowNetworkError(platform::UiSeams& seams) {
  seams.ShowMessage("网络连接出错！", platform::kDefaultCaption, MessageIcon::None,
                    MessageButtons::Ok);
}

}  // namespace

Endpoints ConfiguredEndpoints() { return {kUpdateEndpoint, kInfoEndpoint, kEndpointsConfigured}; }

std::string AskForUpdate(const Endpoints& endpoints, const std::atomic<bool>* cancelled) {
  if (!endpoints.configured) return {};
  FetchLimits limits;
  limits.cancelled = cancelled;
  return FetchText(endpoints.update, std::string("ver=") + kVersionText, limits);
}

void UpdateCheck(platform::UiSeams& seams, const Endpoints& endpoints, bool mainWindowExists) {
  ShowUpdateAnswer(seams, endpoints, AskForUpdate(endpoints), mainWindowExists);
}

BackgroundUpdateCheck::BackgroundUpdateCheck(Endpoints endpoints,
                                             std::function<void(const std::string&)> arrived)
    : thread_([this, endpoints = std::move(endpoints), arrived = std::move(arrived)] {
        const std::string answer = AskForUpdate(endpoints, &cancelled_);
        if (!cancelled_) arrived(answer);
      }) {}

BackgroundUpdateCheck::~BackgroundUpdateCheck() {
  cancelled_ = true;
  thread_.join();
}

void ShowUpdateAnswer(platform::UiSeams& seams, const Endpoints& endpoints,
                      const std::string& answer, bool mainWindowExists) {
  if (answer == "1" && mainWindowExists) {
    seams.ShowMessage("您使用的是最新版本！", platform::kDefaultCaption, MessageIcon::Information,
                      MessageButtons::Ok);
  }
  if (answer.empty()) {
    ShowNetworkError(seams);
  }
  if (answer == "0" &&
      seams.ShowMessage("有新版本，请更新软件！", platform::kDefaultCaption,
                        MessageIcon::Information, MessageButtons::OkCancel) == MessageResult::Ok) {
    OpenTutorialLink(seams, endpoints, "最新版下载地址：");
  }
}

void OpenTutorialLink(platform::UiSeams& seams, const Endpoints& endpoints,
                      const std::string& label) {
  const std::string address = TextBetween(FetchText(endpoints.info), label, " ");
  if (address.empty()) return;
  const std::string scheme = LowerAscii(address.substr(0, address.find(':') + 1));
  if (scheme != "http:" && scheme != "https:") {
    // A file: or custom-handler address would run whatever the answer names.
    ShowNetworkError(seams);
    return;
  }
  seams.OpenUrl(address);
}

}  // namespace corvale::online
