// Version strings carried by an executable in an ELF section of its own, and the executables of
// the running processes: what the single-instance rule looks at.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace corvale::platform {

inline constexpr const char* kVersionSection = ".corvale.version";

// The key/value pairs of the version section of an ELF file; empty when the file cannot be read,
// is not ELF, or has no such section.
std::map<std::string, std::string> ReadVersionStrings(const std::string& elfPath);

// "/proc/<pid>/exe" of every running process, in /proc order.
std::vector<std::string> ProcessExecutables();

}  // namespace corvale::platform
