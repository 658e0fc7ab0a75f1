// The directory walk: depth first, pre-order, in file-system order; every qualifying entry of a
// folder goes to the callback before its subfolders are walked.
#pragma once

#include <functional>
#include <string>

namespace corvale::search {

// Receives the entry name, its full path and an open descriptor of its folder (valid during the
// call only), through which the entry can be looked at without resolving the path again.
using FileCallback =
    std::function<void(const std::string& name, const std::string& path, int folderFd)>;

struct WalkHooks {
  // Runs after every subfolder has been walked.
  std::function<void()> afterSubfolder;
  // Asked after every subfolder; true ends the walk early (the window is going away).
  std::function<bool()> stopRequested;
};

// File pass with attribute mask 39 (read-only, hidden, system, archive), then, when recurse is
// set, the folder pass with mask 16. Each physical folder is walked at most once per walk, so
// links to ancestors and second paths to a folder neither loop nor list files twice.
void WalkFolder(const std::string& folder, const std::string& pattern, bool recurse,
                const FileCallback& callback, const WalkHooks& hooks = {});

}  // namespace corvale::search
