// What the rest of the program asks about one file given by its path or name: existence and
// extension. Sizes and times come with the one stat the search makes of each listed file.
#pragma once

#include <string>
#include <string_view>

namespace corvale::search {

// stat() succeeds, links followed: files and folders alike.
bool FileExists(const std::string& path);

// The extension of a name including its leading ".", or "": a view into name.
std::string_view FileExtension(std::string_view name);

}  // namespace corvale::search
