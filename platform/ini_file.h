// Private-profile INI access with the Windows entry rules: one entry per call, names compared
// without surrounding blanks and without regard to ASCII letter case, values trimmed of blanks
// unless they stand in double quotes.
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
// end of the file. A value with blanks at either end is written in double quotes, so it reads back
// as it was. The file is replaced atomically, through a symbolic link to the linked file, with
// writers serialised by a lock on its folder.
// Returns false, and changes nothing, when the value holds a line break (it cannot be an INI
// line), when the file exists but cannot be read (it would be replaced by the one entry) or is
// read-only, or when it could not be written.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace corvale::platform
