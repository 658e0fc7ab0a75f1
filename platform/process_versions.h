// Version strings carried by an executable in an ELF section of its own, and the executables of
// the running processes: what the single-instance rule looks at.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvale::platform {

inline constexpr const char* kVersionSection = ".corvale.version";

// The key/value pairs of the version section of an ELF file; empty when the file cannot be read,
// is not ELF, or has no such section.
std::map<std::string, std::string> ReadVersionStrings(const std::string& elfPath);

// The ids of the running processes, in /proc order.
std::vector<int> ProcessIds();
// "/proc/<pid>/exe": the executable of a process.
std::string ProcessExecutable(int pid);
// The user a process runs as, or nothing when it is gone.
std::optional<uid_t> ProcessOwner(int pid);
// The value of an environment variable of a process as it was started ("" when unset), or nothing
// when its environment cannot be read (another user's process).
std::optional<std::string> ProcessEnvironmentValue(int pid, std::string_view name);

}  // namespace corvale::platform
