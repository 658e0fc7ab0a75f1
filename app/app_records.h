// The process-wide records, created once by StartUp before any window and handed to the windows
// that need them.
#pragma once

#include "chrome/shadow.h"
#include "duplicates/digest_pool.h"
#include "online/online_services.h"
#include "resultlist/cell_colours.h"
#include "resultlist/result_list.h"
#include "settings/filter_settings.h"

namespace corvale::app {

struct AppRecords {
  settings::FilterSettings filter;
  resultlist::ResultList list;
  resultlist::CellColourTable colours;
  duplicates::DigestPool pool;
  chrome::ShadowImages shadows;
  // Where the update check and the tutorial links ask; tests point them at their own server.
  online::Endpoints endpoints = online::ConfiguredEndpoints();
};

}  // namespace corvale::app
