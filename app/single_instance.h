// The single-instance rule: running copies are found by the "ProductName" in the version section
// of their executables; more than two (this one included) in the same user's graphical session
// means the program must not start.
#pragma once

#include <sys/types.h>

#include <string>

namespace corvale::app {

inline constexpr const char* kProductName = "Corvale";

// Where copies count against each other: one user's graphical session, known by its display.
struct Session {
  uid_t user = 0;
  std::string display;         // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
};
Session OwnSession();

// Processes of the session whose executable's ProductName equals productName exactly (bytes,
// letter case). Another user's process never counts; a process whose environment cannot be read
// counts by its user alone.
int CountRunningCopies(const std::string& productName, const Session& session);

// False when more than two copies run in this session.
bool SingleInstanceCheck();

}  // namespace corvale::app
