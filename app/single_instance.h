// The single-instance rule: running copies are found by the "ProductName" in the version section
// of their executables; more than two (this one included) means the program must not start.
#pragma once

#include <string>

namespace corvale::app {

inline constexpr const char* kProductName = "Corvale";

// Processes whose executable's ProductName equals productName exactly (bytes, letter case).
int CountRunningCopies(const std::string& productName);

// False when more than two copies run.
bool SingleInstanceCheck();

}  // namespace corvale::app
