// The update check and the tutorial links: both ask the program's online service and hand the
// addresses it answers to the browser.
#pragma once

#include <string>

#include "platform/ui_seams.h"

namespace corvale::online {

inline constexpr const char* kVersionText = "1.3";

struct Endpoints {
  std::string update;
  std::string info;
};

// The service's addresses as this build was configured.
Endpoints ConfiguredEndpoints();

// Asks whether this version is the newest. "1": a notice, only once the main window exists;
// empty: "网络连接出错！"; "0": offers the download address; anything else: nothing.
void UpdateCheck(platform::UiSeams& seams, const Endpoints& endpoints, bool mainWindowExists);

// Opens the address that follows label in the information text, if there is one.
void OpenTutorialLink(platform::UiSeams& seams, const Endpoints& endpoints,
                      const std::string& label);

}  // namespace corvale::online
