#include "platform/event_pump.h"

#include <QCoreApplication>

namespace corvale::platform {

void EventPump::Run() {
  if (beforeEvents_) beforeEvents_();
  QCoreApplication::processEvents();
  last_ = std::chrono::steady_clock::now();
}

}  // namespace corvale::platform
