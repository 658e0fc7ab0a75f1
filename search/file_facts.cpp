#include "search/file_facts.h"

#include "platform/file_system.h"

namespace corvale::search {

bool FileExists(const std::string& path) { return platform::PathExists(path); }

std::string_view FileExtension(std::string_view name) { return platform::PathFindExtension(name); }

}  // namespace corvale::search
