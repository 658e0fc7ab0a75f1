// The directory walk: depth first, pre-order, in file-system order; every qualifying entry of a
// folder goes to the callback before its subfolders are walked.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvale::search {

// Receives the entry name (which ends in a NUL, so it can go to *at() calls as it is), its folder
// (ending in "/"; the full path is folder + name) and an open descriptor of that folder (valid
// during the call only), through which the entry can be looked at without resolving its path
// again.
using FileCallback =
    std::function<void(std::string_view name, const std::string& folder, int folderFd)>;

struct WalkHooks {
  // Runs after every subfolder has been walked.
  std::function<void()> afterSubfolder;
  // Asked after every subfolder; true ends the walk early (the window is going away).
  std::function<bool()> stopRequested;
};

// Reads each folder once: the entries with a file attribute (read-only, hidden, system, archive)
// that match the pattern go to the callback as they come; the subfolders are walked afterwards,
// when recurse is set. Each physical folder is walked at most once per walk, so links to ancestors
// and second paths to a folder neither loop nor list files twice. A folder is open only while it
// is read, so the descriptors a walk holds do not grow with its depth, and folders deeper than a
// path the kernel takes in one call are still reached.
void WalkFolder(const std::string& folder, const std::string& pattern, bool recurse,
                const FileCallback& callback, const WalkHooks& hooks = {});

}  // namespace corvale::search
