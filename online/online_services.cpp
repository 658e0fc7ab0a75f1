#include "online/online_services.h"

#include "online/endpoints.h"
#include "online/http_client.h"
#include "online/url_text.h"

namespace corvale::online {

using platform::MessageButtons;
using platform::MessageIcon;
using platform::MessageResult;

Endpoints ConfiguredEndpoints() { return {kUpdateEndpoint, kInfoEndpoint}; }

void UpdateCheck(platform::UiSeams& seams, const Endpoints& endpoints, bool mainWindowExists) {
  const std::string answer = FetchText(endpoints.update, std::string("ver=") + kVersionText);
  if (answer == "1" && mainWindowExists) {
    seams.ShowMessage("您使用的是最新版本！", platform::kDefaultCaption, MessageIcon::Information,
                      MessageButtons::Ok);
  }
  if (answer.empty()) {
    seams.ShowMessage("网络连接出错！", platform::kDefaultCaption, MessageIcon::None,
                      MessageButtons::Ok);
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
  if (!address.empty()) seams.OpenUrl(address);
}

}  // namespace corvale::online
