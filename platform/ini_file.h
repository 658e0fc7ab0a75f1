// Private-profile INI access with the Windows entry rules: one entry per call, names compared
// without surrounding blanks and without regard to ASCII letter case.
#pragma once

#include <string>
#include <string_view>

namespace corvale::platform {

// Values come back through a 10240-byte buffer, so at most this many bytes of a value arrive.
inline constexpr std::size_t kProfileValueLimit = 10239;

// The value of key in section, or "" when the file, the section or the key is missing.
std::string ReadProfileString(const std::string& file, std::string_view section,
                              std::string_view key);

// Replaces the entry in place, or adds the key at the end of its section and the section at the
// end of the file. The file is replaced atomically. Returns false when it could not be written.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace corvale::platform
