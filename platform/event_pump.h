// Lets pending window events through at the fixed points of a long loop on the UI thread, but
// runs the event loop at most every ~15 ms, so the loop's own work dominates.
#pragma once

#include <chrono>
#include <functional>

namespace corvale::platform {

class EventPump {
 public:
  // beforeEvents runs right before the event loop is entered (flush batched rows, repaint
  // counters).
  explicit EventPump(std::function<void()> beforeEvents = {})
      : beforeEvents_(std::move(beforeEvents)) {}

  void Pump() {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kInterval) return;
    Run();
  }
  // Processes events now, whatever the time since the last run.
  void Run();

 private:
  static constexpr std::chrono::milliseconds kInterval{15};
  std::function<void()> beforeEvents_;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace corvale::platform
